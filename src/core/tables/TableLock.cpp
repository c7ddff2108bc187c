#include "core/tables/TableLock.h"

#include "core/tables/StorageError.h"
#include "core/tables/TableError.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TableLock::~TableLock()
{
    release();
}

QString TableLock::lockPathFor(const QString& tablePath)
{
    return tablePath + QStringLiteral(".lck");
}

void TableLock::acquire(const QString& tablePath, bool exclusive, int retries, int waitMs)
{
    release();
    const QString name = QFileInfo(tablePath).fileName();
    const QByteArray path = QFile::encodeName(lockPathFor(tablePath));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw StorageError::fromErrno(errno, tablePath, QStringLiteral("Cannot lock table %1").arg(name));
    const int mode = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    for (int attempt = 0;; ++attempt) {
        if (::flock(fd, mode) == 0) {
            m_fd = fd;
            return;
        }
        const int err = errno;
        if (err != EWOULDBLOCK && err != EINTR) {
            ::close(fd);
            throw TableError(
                QStringLiteral("Cannot lock table %1: %2").arg(name, QString::fromLocal8Bit(strerror(err))));
        }
        if (attempt >= retries) {
            ::close(fd);
            throw TableError(QStringLiteral("Table %1 is in use by another user").arg(name),
                             TableError::Kind::InUse);
        }
        QThread::msleep(waitMs);
    }
}

void TableLock::release()
{
    if (m_fd >= 0) {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}
