// SPDX-License-Identifier: GPL-3.0-or-later
#include "faces.h"

#include <QHash>

namespace faces {

Installed::Installed(const QStringList &families) : m_listed(families.begin(), families.end())
{
    for (const QString &family : families) {
        m_faces.insert(family);
        const qsizetype bracket = family.lastIndexOf(QLatin1String(" ["));
        if (bracket > 0 && family.endsWith(QLatin1Char(']')))
            m_faces.insert(family.left(bracket));
    }
}

bool Installed::has(const QString &face) const
{
    return m_faces.contains(face);
}

bool Installed::listedAsIs(const QString &face) const
{
    return m_listed.contains(face);
}

const QStringList &standIns(const QString &face)
{
    // The metric twins the common font configurations give these faces. "Andalus" and
    // "Tahoma" have none: where they are missing, the design's next choice applies.
    static const QHash<QString, QStringList> twins{
        {QStringLiteral("Palatino Linotype"),
         {QStringLiteral("P052"), QStringLiteral("Palatino"), QStringLiteral("TeX Gyre Pagella"),
          QStringLiteral("URW Palladio L"), QStringLiteral("Palladio URW"),
          QStringLiteral("Book Antiqua")}},
        {QStringLiteral("Times New Roman"),
         {QStringLiteral("Tinos"), QStringLiteral("Liberation Serif"), QStringLiteral("Thorndale"),
          QStringLiteral("Thorndale AMT"), QStringLiteral("Times"), QStringLiteral("Nimbus Roman"),
          QStringLiteral("Nimbus Roman No9 L"), QStringLiteral("TeX Gyre Termes")}},
    };
    static const QStringList none;
    const auto it = twins.constFind(face);
    return it == twins.constEnd() ? none : *it;
}

QStringList decided(const QStringList &designed, const Installed &installed)
{
    QStringList families;
    for (const QString &face : designed) {
        if (installed.has(face)) {
            families.append(face);
            continue;
        }
        for (const QString &standIn : standIns(face)) {
            if (installed.has(standIn)) {
                families.append(standIn);
                break;
            }
        }
    }
    return families.isEmpty() ? designed : families;
}

} // namespace faces
