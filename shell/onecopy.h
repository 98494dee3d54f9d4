// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/userlock.h"

#include <QObject>
#include <QString>

class QLocalServer;

// One copy of the program for a user on a display. The first start holds a lock in the
// user's runtime folder and listens on a local socket beside it; a later start finds the
// lock held, asks the running copy over the socket to come forward, and ends. The kernel
// drops the lock of a copy that is killed, so the next start takes over and removes the
// socket that copy left.
class OneCopy : public QObject
{
    Q_OBJECT

public:
    // folder: where the lock and the socket lie (the user's runtime folder); display names
    // the display, so that one user's copies on two displays do not meet.
    OneCopy(const QString &folder, const QString &display, QObject *parent = nullptr);
    ~OneCopy() override;

    // The name of the display this process runs on, as a file name: the platform and the
    // display, without a screen number (":0" and ":0.0" are one display).
    static QString displayName(const QString &platform, const QString &display);

    // Decides whether this process is the one copy, within about timeoutMs. True when it
    // holds the lock (it then listens for later starts), and also when no lock can be had
    // at all: the program then runs as it would without this guard. False when another
    // copy holds the lock; that copy has been asked to come forward, or did not answer.
    bool claim(int timeoutMs);

Q_SIGNALS:
    // A later start asked this copy to come forward.
    void startedAgain();

private:
    bool askRunningCopy(int timeoutMs);
    void listen();
    void answerLaterStart();

    QString m_lockPath;
    QString m_socketPath;
    platform::UserLock m_lock;
    QLocalServer *m_server = nullptr;
};
