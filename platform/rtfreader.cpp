// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfreader.h"

#include "codepage.h"

#include <QString>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {

namespace {

// What a group inherits from the group around it and gets back when it ends.
struct GroupState
{
    bool skipped = false;    // inside a destination that has no visible text
    int unicodeFallback = 1; // \ucN: characters that stand in for each \uN
};

// Deeper groups than this share the state of the deepest tracked one, which keeps the
// memory of the stack bounded for any input; no real document comes near it.
constexpr size_t kMaxTrackedDepth = 4096;

// A parameter larger than this means nothing to any control word used here.
constexpr qint64 kParameterLimit = qint64(1) << 40;

// Destinations whose text a rich-text box does not show.
constexpr std::array<std::string_view, 27> kHiddenDestinations{
    "fonttbl",
    "colortbl",
    "stylesheet",
    "info",
    "pict",
    "header",
    "headerl",
    "headerr",
    "headerf",
    "footer",
    "footerl",
    "footerr",
    "footerf",
    "listtable",
    "listoverridetable",
    "revtbl",
    "rsidtbl",
    "generator",
    "xmlnstbl",
    "themedata",
    "filetbl",
    "fldinst",
    "colorschememapping",
    "latentstyles",
    "datastore",
    "footnote",
    "annotation",
};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The Windows-1252 byte of a UTF-16 unit; '?' for a character it cannot hold. The low half
// of a surrogate pair yields nothing: the high half has already stood for the character.
std::optional<char> westernByte(qint64 unit)
{
    if (unit < 0)
        unit += 65536;
    if (unit <= 0 || unit > 0xFFFF)
        return std::nullopt;
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return char(unit);
    if (unit >= 0xDC00 && unit <= 0xDFFF)
        return std::nullopt;
    if (unit >= 0xD800 && unit <= 0xDBFF)
        return '?';
    const QChar ch{char16_t(unit)};
    const QByteArray bytes = codepage::toWestern(QStringView(&ch, 1));
    // The converter marks a character it cannot hold with SUB (0x1A) or '?'.
    if (bytes.size() != 1 || bytes.front() == '\x1a')
        return '?';
    return bytes.front();
}

class RtfReader
{
public:
    explicit RtfReader(QByteArrayView file) : m_in(file) { m_out.reserve(file.size()); }

    QByteArray plainText()
    {
        while (m_pos < m_in.size() && !m_ended) {
            const char c = m_in[m_pos];
            switch (c) {
            case '{':
                ++m_pos;
                openGroup();
                break;
            case '}':
                ++m_pos;
                closeGroup();
                break;
            case '\r':
            case '\n':
                ++m_pos;
                break;
            case '\\':
                ++m_pos;
                controlSequence();
                break;
            default:
                textRun();
                break;
            }
        }
        // The box keeps its final paragraph mark out of its text.
        if (m_lastParagraphEnd == m_out.size() && m_out.size() >= 2)
            m_out.chop(2);
        return m_out;
    }

private:
    void openGroup()
    {
        m_fallbackLeft = 0;
        if (m_stack.size() < kMaxTrackedDepth)
            m_stack.push_back(m_state);
        else
            ++m_untrackedDepth;
    }

    void closeGroup()
    {
        m_fallbackLeft = 0;
        if (m_untrackedDepth > 0) {
            --m_untrackedDepth;
            return;
        }
        if (m_stack.empty()) {
            m_ended = true;
            return;
        }
        m_state = m_stack.back();
        m_stack.pop_back();
        // The brace that closes the document: whatever follows is not part of it.
        if (m_stack.empty())
            m_ended = true;
    }

    // Whether the next character-like token is a \uN fallback, to be dropped.
    bool takeFallback()
    {
        if (m_fallbackLeft == 0)
            return false;
        --m_fallbackLeft;
        return true;
    }

    void put(char c)
    {
        if (!m_state.skipped)
            m_out.append(c);
    }

    void emitBreak(bool paragraph)
    {
        if (m_state.skipped)
            return;
        m_out.append("\r\n", 2);
        if (paragraph)
            m_lastParagraphEnd = m_out.size();
    }

    // Plain characters up to the next brace, backslash or line break.
    void textRun()
    {
        if (takeFallback()) {
            ++m_pos;
            return;
        }
        const qsizetype start = m_pos;
        qsizetype end = start + 1;
        // Fallback characters are counted one by one; otherwise take the run whole.
        while (m_fallbackLeft == 0 && end < m_in.size()) {
            const char c = m_in[end];
            if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n')
                break;
            ++end;
        }
        if (!m_state.skipped)
            m_out.append(m_in.data() + start, end - start);
        m_pos = end;
    }

    void controlSequence()
    {
        if (m_pos >= m_in.size())
            return;
        const char c = m_in[m_pos];
        if (isLetter(c)) {
            controlWord();
            return;
        }
        ++m_pos;
        if (c == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < m_in.size() && hexValue(m_in[m_pos]) >= 0) {
                value = value * 16 + hexValue(m_in[m_pos]);
                ++m_pos;
                ++digits;
            }
            if (takeFallback() || digits == 0)
                return;
            put(char(value));
            return;
        }
        if (takeFallback())
            return;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            put(c);
            break;
        case '~':
            put(char(0xA0));
            break;
        case '_':
            put('-');
            break;
        case '*':
            m_state.skipped = true;
            break;
        case '\r':
        case '\n':
            // A backslash before a line break of the document is a paragraph mark.
            emitBreak(true);
            break;
        default:
            break; // \- optional hyphen, \| \: and unknown symbols show nothing
        }
    }

    void controlWord()
    {
        const qsizetype nameStart = m_pos;
        while (m_pos < m_in.size() && isLetter(m_in[m_pos]))
            ++m_pos;
        const std::string_view name(m_in.data() + nameStart, size_t(m_pos - nameStart));

        std::optional<qint64> parameter;
        bool negative = false;
        if (m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && isDigit(m_in[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        if (m_pos < m_in.size() && isDigit(m_in[m_pos])) {
            qint64 value = 0;
            while (m_pos < m_in.size() && isDigit(m_in[m_pos])) {
                value = std::min(value * 10 + (m_in[m_pos] - '0'), kParameterLimit);
                ++m_pos;
            }
            parameter = negative ? -value : value;
        }
        if (m_pos < m_in.size() && m_in[m_pos] == ' ')
            ++m_pos; // the delimiter belongs to the control word

        if (name == "bin") {
            // The data is skipped whatever state the reader is in; it may hold braces.
            const qint64 length = std::max<qint64>(parameter.value_or(0), 0);
            m_pos += qsizetype(std::min<qint64>(length, m_in.size() - m_pos));
            takeFallback();
            return;
        }
        if (takeFallback())
            return;

        if (name == "par" || name == "sect" || name == "page") {
            emitBreak(true);
        } else if (name == "line") {
            emitBreak(false);
        } else if (name == "tab") {
            put('\t');
        } else if (name == "u") {
            if (const auto byte = westernByte(parameter.value_or(0)))
                put(*byte);
            m_fallbackLeft = m_state.unicodeFallback;
        } else if (name == "uc") {
            m_state.unicodeFallback = int(std::clamp<qint64>(parameter.value_or(1), 0, 1 << 20));
        } else if (name == "emdash") {
            put(char(0x97));
        } else if (name == "endash") {
            put(char(0x96));
        } else if (name == "lquote") {
            put(char(0x91));
        } else if (name == "rquote") {
            put(char(0x92));
        } else if (name == "ldblquote") {
            put(char(0x93));
        } else if (name == "rdblquote") {
            put(char(0x94));
        } else if (name == "bullet") {
            put(char(0x95));
        } else if (name == "emspace" || name == "enspace") {
            put(' ');
        } else if (std::find(kHiddenDestinations.begin(), kHiddenDestinations.end(), name) !=
                   kHiddenDestinations.end()) {
            m_state.skipped = true;
        }
    }

    QByteArrayView m_in;
    qsizetype m_pos = 0;
    QByteArray m_out;
    GroupState m_state;
    std::vector<GroupState> m_stack;
    qsizetype m_untrackedDepth = 0;
    int m_fallbackLeft = 0;
    qsizetype m_lastParagraphEnd = -1;
    bool m_ended = false;
};

} // namespace

QByteArray rtfPlainText(QByteArrayView file)
{
    if (!file.startsWith(QByteArrayView("{\\rtf")))
        return file.toByteArray();
    return RtfReader(file).plainText();
}

} // namespace platform
