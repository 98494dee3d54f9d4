// SPDX-License-Identifier: GPL-3.0-or-later
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

// A character that the code page cannot hold becomes 0x1A (SUB), which no headword holds.
QByteArray toWestern(QStringView text);
QByteArray toArabic(QStringView text);

} // namespace platform::codepage
