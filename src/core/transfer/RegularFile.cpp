#include "core/transfer/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool openRegularFile(QFile* file, const QString& path, QString* error)
{
    // Opening a pipe without O_NONBLOCK waits for a writer; with it the open
    // returns at once and the descriptor says what the file is.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *error = S_ISDIR(info.st_mode)
                     ? QStringLiteral("it is a folder, not a file")
                     : QStringLiteral("it is not a regular file (a named pipe or a device)");
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = file->errorString();
        return false;
    }
    return true;
}
