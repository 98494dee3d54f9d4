#pragma once

#include <QByteArray>
#include <QString>

namespace testsupport {

// Writes bytes to path, creating the folders on the way; fails the calling test through
// QTest when the file cannot be written.
bool writeFile(const QString &path, const QByteArray &bytes);

QByteArray readFile(const QString &path);

} // namespace testsupport
