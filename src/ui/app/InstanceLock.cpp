#include "ui/app/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

InstanceLock::InstanceLock(const QString& name, QObject* parent)
    : InstanceLock(name, defaultFolders(), parent)
{
}

InstanceLock::InstanceLock(const QString& name, const QStringList& folders, QObject* parent)
    : QObject(parent), m_name(name), m_folders(folders)
{
}

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

QStringList InstanceLock::defaultFolders()
{
    QStringList folders;
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        folders << runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty())
        folders << QDir(cache).filePath(QStringLiteral("velarix"));
    return folders;
}

bool InstanceLock::isPrivateFolder(const QString& path)
{
    if (path.isEmpty())
        return false;
    QFileInfo info(path);
    if (!info.exists()) {
        if (!QDir().mkpath(path))
            return false;
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        info = QFileInfo(path);
    }
    if (!info.isDir() || !info.isWritable())
        return false;
#ifdef Q_OS_UNIX
    if (info.ownerId() != uint(::geteuid()))
        return false;
#endif
    return !(info.permissions() & (QFile::WriteGroup | QFile::WriteOther));
}

QString InstanceLock::basePath() const
{
    QString safe = m_name;
    safe.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QDir(m_folder).filePath(safe);
}

bool InstanceLock::tryLock()
{
    m_folder.clear();
    for (const QString& folder : m_folders) {
        if (isPrivateFolder(folder)) {
            m_folder = folder;
            break;
        }
    }
    if (m_folder.isEmpty())
        return true;
    m_lock = std::make_unique<QLockFile>(basePath() + QStringLiteral(".lock"));
    // No time-based staleness: only a lock whose process is gone is stale.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    // Held by a running copy: a second copy. Any other failure means no lock
    // can be made here, and the program starts anyway.
    return m_lock->error() != QLockFile::LockFailedError;
}

bool InstanceLock::listen()
{
    if (m_folder.isEmpty())
        return false;
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
    if (m_folder.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(basePath() + QStringLiteral(".sock"));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write("activate\n");
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
}
