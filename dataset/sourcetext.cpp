// SPDX-License-Identifier: GPL-3.0-or-later
#include "sourcetext.h"

#include "nearestletter.h"

#include "platform/codepage.h"

#include <algorithm>

namespace dataset {

CodePage::CodePage(QString (*decode)(QByteArrayView))
{
    for (int b = 1; b < 256; ++b) {
        const QString c = decode(QByteArray(1, char(b)));
        if (c.size() == 1 && c[0] != QChar::ReplacementCharacter)
            m_bytes.insert(c[0].unicode(), char(b));
        m_chars[b] = c.size() == 1 ? c[0].unicode() : 0xfffd;
    }
}

std::optional<char> CodePage::byteOf(char16_t c) const
{
    const auto it = m_bytes.constFind(c);
    if (it == m_bytes.cend())
        return std::nullopt;
    return *it;
}

std::optional<QByteArray> CodePage::bytesOf(const QString &text) const
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const auto b = byteOf(c.unicode());
        if (!b)
            return std::nullopt;
        bytes.append(*b);
    }
    return bytes;
}

const CodePage &western()
{
    static const CodePage page(platform::codepage::fromWestern);
    return page;
}

const CodePage &arabic()
{
    static const CodePage page(platform::codepage::fromArabic);
    return page;
}

QString cleanDefinition(const QString &text)
{
    QString cleaned;
    cleaned.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case 0x060C: // Arabic comma
        case 0x066C: // Arabic thousands separator
            cleaned += u',';
            continue;
        case 0x061B:
            cleaned += u';';
            continue;
        case 0x061F:
            cleaned += u'?';
            continue;
        case 0x066A:
            cleaned += u'%';
            continue;
        case 0x066B: // Arabic decimal separator
        case 0x06D4: // Arabic full stop
            cleaned += u'.';
            continue;
        case 0x0640: // tatweel
        case 0x061C: // Arabic letter mark
        case 0x200E: // left-to-right mark
        case 0x200F: // right-to-left mark
            continue;
        default:
            break;
        }
        if ((u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069))
            continue; // embeddings, overrides and isolates
        if (u >= 0x0660 && u <= 0x0669) {
            cleaned += QChar(u'0' + (u - 0x0660));
            continue;
        }
        if (u >= 0x06F0 && u <= 0x06F9) {
            cleaned += QChar(u'0' + (u - 0x06F0));
            continue;
        }
        if ((u >= 0xFB50 && u <= 0xFDFF) || (u >= 0xFE70 && u <= 0xFEFF)) {
            if (u != 0xFEFF) // the byte order mark is dropped
                cleaned += QString(c).normalized(QString::NormalizationForm_KC);
            continue;
        }
        cleaned += c;
    }
    return cleaned.simplified();
}

QByteArray ArabicConverter::convert(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    bool dropped = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        ++characters;
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++notInCodePage[QChar::surrogateToUcs4(c, text[i + 1])];
            ++i;
            dropped = true;
            continue;
        }
        if (const auto b = arabic().byteOf(c.unicode())) {
            bytes.append(*b);
        } else if (const auto letter = nearestLetter(c.unicode());
                   letter && arabic().byteOf(*letter)) {
            bytes.append(*arabic().byteOf(*letter));
            ++replaced[c.unicode()];
        } else {
            ++notInCodePage[c.unicode()];
            dropped = true;
        }
    }
    // A character left out leaves no blank pair or blank end behind.
    return dropped ? bytes.simplified() : bytes;
}

QString foldKey(const QByteArray &western1252)
{
    QString text;
    text.reserve(western1252.size());
    for (char b : western1252)
        text.append(QChar(western().charOf(b)));
    return text.toCaseFolded();
}

bool preferredSpelling(const QByteArray &a, const QByteArray &b)
{
    const auto capitals = [](const QByteArray &text) {
        return std::count_if(text.cbegin(), text.cend(),
                             [](char c) { return c >= 'A' && c <= 'Z'; });
    };
    if (capitals(a) != capitals(b))
        return capitals(a) < capitals(b);
    return a < b;
}

bool lessKeyed(const QString &keyA, const QByteArray &a, const QString &keyB, const QByteArray &b)
{
    if (const int c = keyA.compare(keyB); c != 0)
        return c < 0;
    return a < b;
}

} // namespace dataset
