// SPDX-License-Identifier: GPL-3.0-or-later
#include "onecopy.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <chrono>

namespace {

// A later start sends the time by which the running copy must have decided to come
// forward: nanoseconds of the system's monotonic clock, which every process of the machine
// reads alike, as 8 bytes, most significant first. The running copy sends back one byte
// once it has come forward; a request it finds too late it closes unanswered, so that a
// copy that was stopped or hung does not jump over the window the later start opened.
constexpr qsizetype kRequestSize = 8;
constexpr char kForward = 'f';
// Of the time a start waits, the last part is for the answer's way back.
constexpr int kAnswerTripMs = 250;
// A connection that says nothing is closed after this.
constexpr int kRequestWaitMs = 2000;
constexpr int kRetryMs = 100;
// Above this a display's name is shortened to its hash, so that the socket's path, with
// the program folder's name, stays within the platform's limit (107 bytes) in any runtime
// folder of a usual length.
constexpr qsizetype kLongestName = 48;
constexpr qsizetype kFolderNameSize = 12;

qint64 monotonicNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString baseName(const QString &folder, const QString &display, const QString &programFolder)
{
    return folder + QStringLiteral("/vellumstack-") + display + QLatin1Char('-') +
           OneCopy::programFolderName(programFolder);
}

} // namespace

OneCopy::OneCopy(const QString &folder, const QString &display, const QString &programFolder,
                 QObject *parent)
    : QObject(parent),
      m_lockPath(baseName(folder, display, programFolder) + QStringLiteral(".lock")),
      m_socketPath(baseName(folder, display, programFolder))
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

QString OneCopy::programFolderName(const QString &programFolder)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(QFile::encodeName(programFolder), QCryptographicHash::Sha1)
            .toHex()
            .left(kFolderNameSize));
}

OneCopy::Claim OneCopy::claim(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    const qint64 answerBy =
        monotonicNow() + qint64(timeoutMs - std::min(kAnswerTripMs, timeoutMs / 2)) * 1000000;
    for (;;) {
        switch (platform::UserLock::take(m_lockPath, &m_lock)) {
        case platform::UserLock::Outcome::Taken:
            listen();
            return Claim::Held;
        case platform::UserLock::Outcome::Failed:
            return Claim::OnItsOwn;
        case platform::UserLock::Outcome::HeldElsewhere:
            break;
        }
        // The holder may be between taking the lock and listening, or just ending: asked
        // again until the time is up, and the lock taken over if it goes meanwhile.
        if (askRunningCopy(answerBy, int(std::max<qint64>(0, deadline.remainingTime()))))
            return Claim::Forwarded;
        if (deadline.hasExpired())
            return Claim::OnItsOwn;
        QThread::msleep(
            ulong(std::min<qint64>(kRetryMs, std::max<qint64>(0, deadline.remainingTime()))));
    }
}

bool OneCopy::askRunningCopy(qint64 answerBy, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(int(deadline.remainingTime())))
        return false;
    char request[kRequestSize];
    qToBigEndian<qint64>(answerBy, request);
    if (socket.write(request, kRequestSize) != kRequestSize)
        return false;
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    // The answer comes once the running copy has come forward; a copy that closes without
    // it did not.
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
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
    connect(m_server, &QLocalServer::newConnection, this, &OneCopy::takeLaterStarts);
    // A copy that cannot listen still runs; later starts then get no answer and run on
    // their own.
    m_server->listen(m_socketPath);
}

void OneCopy::takeLaterStarts()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
        QTimer::singleShot(kRequestWaitMs, socket, &QLocalSocket::abort);
        // What came with the connection may be read already.
        answer(socket);
    }
}

void OneCopy::answer(QLocalSocket *socket)
{
    if (socket->state() != QLocalSocket::ConnectedState || socket->bytesAvailable() < kRequestSize)
        return;
    char request[kRequestSize];
    if (socket->read(request, kRequestSize) != kRequestSize)
        return;
    // A request read late, say by a copy that was stopped meanwhile, has been given up.
    if (monotonicNow() <= qFromBigEndian<qint64>(request)) {
        Q_EMIT startedAgain();
        socket->write(&kForward, 1);
    }
    socket->disconnectFromServer();
}
