// SPDX-License-Identifier: GPL-3.0-or-later
#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform::codepage {

namespace {

QString decode(const char *name, QByteArrayView bytes)
{
    QStringDecoder decoder(name, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QByteArray encode(const char *name, QStringView text)
{
    QStringEncoder encoder(name, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

} // namespace

QString fromWestern(QByteArrayView bytes)
{
    return decode("windows-1252", bytes);
}
QString fromArabic(QByteArrayView bytes)
{
    return decode("windows-1256", bytes);
}
QByteArray toWestern(QStringView text)
{
    return encode("windows-1252", text);
}
QByteArray toArabic(QStringView text)
{
    return encode("windows-1256", text);
}

} // namespace platform::codepage
