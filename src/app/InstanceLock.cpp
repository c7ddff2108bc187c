#include "InstanceLock.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

InstanceLock::InstanceLock(const QString& name, QObject* parent) : QObject(parent), m_name(name) {}

InstanceLock::~InstanceLock()
{
    if (m_server)
        m_server->close();
}

QString InstanceLock::defaultTitle(const QString& programPath)
{
    QString name = QFileInfo(programPath).fileName();
    const int dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString InstanceLock::lockNameFor(const QString& programPath)
{
    return QStringLiteral("PREVINST:") + defaultTitle(programPath);
}

QString InstanceLock::basePath() const
{
    // The runtime folder is per user and cleared at log-out; the temporary
    // folder serves where there is none.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isWritable())
        dir = QDir::tempPath();
    QString safe = m_name;
    safe.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QDir(dir).filePath(safe);
}

bool InstanceLock::tryLock()
{
    m_lock = std::make_unique<QLockFile>(basePath() + QStringLiteral(".lock"));
    // No time-based staleness: only a lock whose process is gone is stale.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

bool InstanceLock::listen()
{
    const QString socketPath = basePath() + QStringLiteral(".sock");
    // We hold the lock, so a socket file left behind belongs to a dead copy.
    QLocalServer::removeServer(socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketPath))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            emit activateRequested();
        }
    });
    return true;
}

bool InstanceLock::wakeRunning(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(basePath() + QStringLiteral(".sock"));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write("activate\n");
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
}
