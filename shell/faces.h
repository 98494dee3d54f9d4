// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The faces the main window's design names, decided once at start against the families that
// are installed. A face that is missing is never asked for: the platform would look through
// every installed font for it, for every size it is asked at, only to take a stand-in. The
// window asks for that stand-in itself.
namespace faces {

// The families installed, as the font database lists them. A family installed from more than
// one foundry is listed as "Face [foundry]"; it counts as installed under its plain name.
class Installed
{
public:
    explicit Installed(const QStringList &families);

    // Exactly so spelt, case included, as the platform's reading back of a face compares.
    bool has(const QString &face) const;

    // Listed under exactly this name: installed from one foundry. A font asked for by this
    // name takes the face, and the platform reads it back under the same name; one installed
    // from several foundries is read back with the foundry that was taken.
    bool listedAsIs(const QString &face) const;

private:
    QSet<QString> m_listed;
    QSet<QString> m_faces;
};

// The faces of the same measures that the platform's font configuration takes for face
// when face is missing, in its order of preference; none for a face without such a twin.
const QStringList &standIns(const QString &face);

// The families to ask for in place of designed: each designed family where it is installed,
// otherwise its first installed stand-in, otherwise nothing. Where nothing is left, designed
// as it stands: the platform then chooses as it always has.
QStringList decided(const QStringList &designed, const Installed &installed);

} // namespace faces
