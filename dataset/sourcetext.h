// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QString>

#include <array>
#include <optional>

// The text of the source dictionaries on its way to the set's two code pages: headwords and
// idioms in Windows-1252, definitions in Windows-1256.
namespace dataset {

// A single-byte code page as a table from characters to bytes, made from its decoder
// (platform::codepage). Bytes the code page leaves undefined are not in it.
class CodePage
{
public:
    explicit CodePage(QString (*decode)(QByteArrayView));
    std::optional<char> byteOf(char16_t c) const;
    char16_t charOf(char b) const { return m_chars[uchar(b)]; }
    // The text in bytes, when every character has one.
    std::optional<QByteArray> bytesOf(const QString &text) const;

private:
    QHash<char16_t, char> m_bytes;
    std::array<char16_t, 256> m_chars{};
};

const CodePage &western(); // Windows-1252
const CodePage &arabic();  // Windows-1256

// Definition text on its way to Windows-1256: Arabic punctuation becomes its ASCII twin,
// tatweel and direction marks go, presentation forms are decomposed, blanks are collapsed.
QString cleanDefinition(const QString &text);

// Counts characters and turns definition text into Windows-1256. A character the code page
// does not have becomes its nearest letter where it has one (nearestletter.h) and is left
// out otherwise; both are counted.
struct ArabicConverter
{
    QMap<char32_t, qint64> notInCodePage;
    QMap<char32_t, qint64> replaced; // by the nearest letter, the character replaced -> how often
    qint64 characters = 0;

    QByteArray convert(const QString &text);
};

// The case-folded key of a Windows-1252 headword: one headword for a search that ignores
// case.
QString foldKey(const QByteArray &western1252);

// Of two spellings of one headword the one with fewer capitals is kept ("apple" over
// "Apple"); exact bytes decide the rest, so the choice does not hang on article order.
bool preferredSpelling(const QByteArray &a, const QByteArray &b);

// Case-insensitive order of headwords by their folded keys; exact bytes break ties, so the
// order is total.
bool lessKeyed(const QString &keyA, const QByteArray &a, const QString &keyB, const QByteArray &b);

} // namespace dataset
