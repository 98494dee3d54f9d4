#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The data set is single-byte text. Word lists, index files and captions are Windows-1252;
// definitions and symbol cells are Windows-1256. Everything below the widgets works on
// bytes; these are the conversions at the edge, where text reaches or leaves a widget.
namespace platform::codepage {

QString fromWestern(QByteArrayView bytes);
QString fromArabic(QByteArrayView bytes);

// Characters that Windows-1252 cannot hold become '?', which no headword contains.
QByteArray toWestern(QStringView text);
QByteArray toArabic(QStringView text);

} // namespace platform::codepage
