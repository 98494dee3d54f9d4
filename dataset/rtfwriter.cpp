// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfwriter.h"

namespace dataset {

QByteArray rtfDocument(const QList<QByteArray> &lines)
{
    static const char hex[] = "0123456789abcdef";
    QByteArray rtf("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}"
                   "\r\n\\pard\\plain\\f0\\fs20\r\n");
    qsizetype size = rtf.size();
    for (const QByteArray &line : lines)
        size += line.size() + 8;
    rtf.reserve(size + 4);
    for (const QByteArray &line : lines) {
        for (char c : line) {
            const uchar u = uchar(c);
            if (c == '\\' || c == '{' || c == '}') {
                rtf.append('\\');
                rtf.append(c);
            } else if (c == '\t') {
                // A group keeps the control word apart from the text that follows it.
                rtf.append("{\\tab}");
            } else if (u >= 0x80 || u < 0x20) {
                rtf.append("\\'");
                rtf.append(hex[u >> 4]);
                rtf.append(hex[u & 15]);
            } else {
                rtf.append(c);
            }
        }
        rtf.append("\\par\r\n");
    }
    rtf.append("}\r\n");
    return rtf;
}

} // namespace dataset
