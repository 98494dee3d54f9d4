// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables.h"

#include "platform/linereader.h"

namespace store {

int loadTable(const QString &path, std::span<QByteArray> cells)
{
    auto reader = platform::LineReader::open(
        path, platform::FileCap{-1, platform::caps::kTableLine, qint64(cells.size())});
    if (!reader)
        return 0;
    int filled = 0;
    for (QByteArray &cell : cells) {
        std::optional<QByteArray> line = reader->readLine();
        if (!line)
            break;
        cell = *line;
        ++filled;
    }
    return filled;
}

} // namespace store
