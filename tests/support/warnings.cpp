// SPDX-License-Identifier: GPL-3.0-or-later
#include "warnings.h"

#include <QRegularExpression>
#include <QTest>

namespace testsupport {

void failOnWarnings(const QStringList &alsoMissing)
{
    QStringList missing{QStringLiteral("propagateSizeHints")};
    for (const QString &ability : alsoMissing)
        missing.append(QRegularExpression::escape(ability));
    QTest::failOnWarning(QRegularExpression(
        QStringLiteral("^(?!This plugin does not support (%1)).*").arg(missing.join(u'|'))));
}

} // namespace testsupport
