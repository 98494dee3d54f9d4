// SPDX-License-Identifier: GPL-3.0-or-later
// The single-byte line reader over any file: read and skip from every line on agree with a
// plain split of the bytes at CR LF, lone LF and lone CR, and nothing is read past the end.
#include "platform/linereader.h"

#include "fuzzinput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

namespace {

QList<QByteArray> referenceLines(QByteArrayView bytes)
{
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            lines.append(line);
            line.clear();
        } else {
            line.append(c);
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

const QString &filePath()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/vellumstack-fuzz-lines-") +
                                QString::number(QCoreApplication::applicationPid());
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(filePath());
        fuzzinput::check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        fuzzinput::check(file.write(bytes.data(), bytes.size()) == bytes.size());
    }
    const QList<QByteArray> expected = referenceLines(bytes);

    // Every line read in turn, then nothing more.
    {
        auto reader = platform::LineReader::open(filePath(), {});
        fuzzinput::check(reader.has_value());
        for (const QByteArray &line : expected)
            fuzzinput::check(reader->readLine() == line);
        fuzzinput::check(!reader->readLine() && !reader->skipLine() && reader->atEnd());
    }
    // Reads and skips mixed at every line, the choice taken from the input's own bytes.
    {
        auto reader = platform::LineReader::open(filePath(), {});
        for (qsizetype k = 0; k < expected.size(); ++k) {
            if (bytes[k % bytes.size()] & 1)
                fuzzinput::check(reader->skipLine());
            else
                fuzzinput::check(reader->readLine() == expected[k]);
        }
        fuzzinput::check(!reader->skipLine() && !reader->readLine());
    }
    // Skipped to a line: the last two and past the end, and one the input's last bytes
    // choose. That line is read, and the rest can be skipped.
    const qsizetype n = expected.size();
    const qsizetype chosen =
        bytes.size() < 2
            ? 0
            : (uchar(bytes[bytes.size() - 1]) << 8 | uchar(bytes[bytes.size() - 2])) % (n + 1);
    for (const qsizetype k :
         {chosen, std::max<qsizetype>(0, n - 2), std::max<qsizetype>(0, n - 1), n}) {
        auto reader = platform::LineReader::open(filePath(), {});
        fuzzinput::check(reader->skipLines(k) == k);
        const std::optional<QByteArray> line = reader->readLine();
        fuzzinput::check(k < n ? line == expected[k] : !line);
        const qint64 rest = std::max<qint64>(0, n - k - 1);
        fuzzinput::check(reader->skipLines(qint64(1) << 40) == rest);
    }
    return 0;
}
