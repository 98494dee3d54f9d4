// SPDX-License-Identifier: GPL-3.0-or-later
#include "onecopy.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <algorithm>

namespace {

// The one byte the running copy sends back once it has come forward.
constexpr char kForward = 'f';
constexpr int kRetryMs = 100;
// Above this a name is shortened to its hash, so that the socket's path stays within the
// platform's limit (about 100 bytes) in any runtime folder of a usual length.
constexpr qsizetype kLongestName = 48;

} // namespace

OneCopy::OneCopy(const QString &folder, const QString &display, QObject *parent)
    : QObject(parent),
      m_lockPath(folder + QStringLiteral("/vellumstack-") + display + QStringLiteral(".lock")),
      m_socketPath(folder + QStringLiteral("/vellumstack-") + display)
{
}

OneCopy::~OneCopy() = default;

QString OneCopy::displayName(const QString &platform, const QString &display)
{
    QString name = display;
    // "host:display.screen": the screen is a part of the display, not another one.
    const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
    if (const qsizetype dot = name.indexOf(QLatin1Char('.'), colon + 1); colon >= 0 && dot > colon)
        name.truncate(dot);
    name = platform + QLatin1Char('-') + name;
    // A Wayland display may be the path of its socket.
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    if (name.size() > kLongestName)
        name = platform + QLatin1Char('-') +
               QString::fromLatin1(
                   QCryptographicHash::hash(display.toUtf8(), QCryptographicHash::Sha1).toHex());
    return name;
}

bool OneCopy::claim(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        switch (platform::UserLock::take(m_lockPath, &m_lock)) {
        case platform::UserLock::Outcome::Taken:
            listen();
            return true;
        case platform::UserLock::Outcome::Failed:
            return true;
        case platform::UserLock::Outcome::HeldElsewhere:
            break;
        }
        // The holder may be between taking the lock and listening, or just ending: asked
        // again until the time is up, and the lock taken over if it goes meanwhile.
        if (askRunningCopy(int(std::max<qint64>(0, deadline.remainingTime()))))
            return false;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(kRetryMs);
    }
}

bool OneCopy::askRunningCopy(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Nothing needs saying: the connection is the request. The answer comes once the
    // running copy has come forward; a copy that closes without it did not.
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == kForward;
}

void OneCopy::listen()
{
    // The lock is ours, so a socket file there is what a killed copy left.
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &OneCopy::answerLaterStart);
    // A copy that cannot listen still runs; later starts then wait for it in vain and end.
    m_server->listen(m_socketPath);
}

void OneCopy::answerLaterStart()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        Q_EMIT startedAgain();
        // Nothing the caller sends is read: whatever it is, it has been answered.
        socket->write(&kForward, 1);
        socket->disconnectFromServer();
    }
}
