// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/userlock.h"

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// One copy of the program for a user on a display, per program folder. The first start
// holds a lock in the user's runtime folder and listens on a local socket beside it; a
// later start finds the lock held, asks the running copy over the socket to come forward,
// and ends once it has. The kernel drops the lock of a copy that is killed, so the next
// start takes over and removes the socket that copy left. A start that gets no lock at
// all, or no answer in time, runs on its own: the user always gets a window.
class OneCopy : public QObject
{
    Q_OBJECT

public:
    // What a start is, once it has claimed.
    enum class Claim {
        Held,      // the one copy: it holds the lock and listens for later starts
        Forwarded, // another copy holds the lock and has come forward: this start ends
        OnItsOwn,  // no lock to be had, or its holder did not answer in time: this start runs
    };

    // How long a later start waits for the running copy to answer before it opens a window
    // of its own.
    static constexpr int kAnswerWithinMs = 1000;

    // folder: where the lock and the socket lie (the user's runtime folder); display names
    // the display, so that one user's copies on two displays do not meet; programFolder is
    // the folder the program runs from, so that two programs (an installed one and a
    // build) do not meet either.
    OneCopy(const QString &folder, const QString &display, const QString &programFolder,
            QObject *parent = nullptr);
    ~OneCopy() override;

    // The name of the display this process runs on, as a file name: the platform and the
    // display, without a screen number (":0" and ":0.0" are one display).
    static QString displayName(const QString &platform, const QString &display);
    // The program folder in the names of the lock and the socket: the first 12 hexadecimal
    // digits of the SHA-1 of its path as the system spells it.
    static QString programFolderName(const QString &programFolder);

    const QString &lockPath() const { return m_lockPath; }
    const QString &socketPath() const { return m_socketPath; }

    // Decides what this start is, within about timeoutMs. A running copy that takes longer
    // to answer is left alone: it does not come forward once the time is up.
    Claim claim(int timeoutMs);

Q_SIGNALS:
    // A later start asked this copy to come forward, in time.
    void startedAgain();

private:
    bool askRunningCopy(qint64 answerBy, int timeoutMs);
    void listen();
    void takeLaterStarts();
    void answer(QLocalSocket *socket);

    QString m_lockPath;
    QString m_socketPath;
    platform::UserLock m_lock;
    QLocalServer *m_server = nullptr;
};
