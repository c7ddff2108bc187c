#include "FaultVfs.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sqlcipher/sqlite3.h>

namespace FaultVfs {

namespace {
sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_vfs;
std::atomic<int> g_events{0};
std::atomic<int> g_failFrom{0};
std::atomic<int> g_killAt{0};
std::atomic<bool> g_injected{false};

struct File
{
    sqlite3_file base;
    sqlite3_file* real;
    char path[1024];
};

sqlite3_file* real(sqlite3_file* f)
{
    return reinterpret_cast<File*>(f)->real;
}

// Counts one write event; true when it must fail as on a full disk.
bool full()
{
    const int n = ++g_events;
    if (g_killAt > 0 && n >= g_killAt)
        std::raise(SIGKILL);
    const bool fail = g_failFrom > 0 && n >= g_failFrom;
    if (fail)
        g_injected = true;
    return fail;
}

int xClose(sqlite3_file* f)
{
    const int rc = real(f)->pMethods ? real(f)->pMethods->xClose(real(f)) : SQLITE_OK;
    return rc;
}
int xRead(sqlite3_file* f, void* buf, int amount, sqlite3_int64 offset)
{
    return real(f)->pMethods->xRead(real(f), buf, amount, offset);
}
int xWrite(sqlite3_file* f, const void* buf, int amount, sqlite3_int64 offset)
{
    if (full())
        return SQLITE_FULL;
    return real(f)->pMethods->xWrite(real(f), buf, amount, offset);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    full(); // shrinking needs no room
    return real(f)->pMethods->xTruncate(real(f), size);
}
int xSync(sqlite3_file* f, int flags)
{
    full();
    return real(f)->pMethods->xSync(real(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return real(f)->pMethods->xFileSize(real(f), size);
}
int xLock(sqlite3_file* f, int level)
{
    return real(f)->pMethods->xLock(real(f), level);
}
int xUnlock(sqlite3_file* f, int level)
{
    return real(f)->pMethods->xUnlock(real(f), level);
}
int xCheckReservedLock(sqlite3_file* f, int* out)
{
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int xFileControl(sqlite3_file* f, int op, void* arg)
{
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int xSectorSize(sqlite3_file* f)
{
    return real(f)->pMethods->xSectorSize(real(f));
}
int xDeviceCharacteristics(sqlite3_file* f)
{
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
int xShmMap(sqlite3_file* f, int region, int regionSize, int extend, void volatile** out)
{
    if (extend) {
        // The index grows only where it is not yet as large: that takes room.
        const QFileInfo shm(QString::fromUtf8(reinterpret_cast<File*>(f)->path) + QStringLiteral("-shm"));
        if (!shm.exists() || shm.size() < qint64(region + 1) * regionSize) {
            if (full()) {
                errno = ENOSPC;
                *out = nullptr;
                return SQLITE_IOERR_SHMSIZE;
            }
        }
    }
    return real(f)->pMethods->xShmMap(real(f), region, regionSize, extend, out);
}
int xShmLock(sqlite3_file* f, int offset, int n, int flags)
{
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
void xShmBarrier(sqlite3_file* f)
{
    real(f)->pMethods->xShmBarrier(real(f));
}
int xShmUnmap(sqlite3_file* f, int deleteFlag)
{
    return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
}
int xFetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out)
{
    return real(f)->pMethods->xFetch(real(f), offset, amount, out);
}
int xUnfetch(sqlite3_file* f, sqlite3_int64 offset, void* p)
{
    return real(f)->pMethods->xUnfetch(real(f), offset, p);
}

const sqlite3_io_methods g_methods = {3,
                                      xClose,
                                      xRead,
                                      xWrite,
                                      xTruncate,
                                      xSync,
                                      xFileSize,
                                      xLock,
                                      xUnlock,
                                      xCheckReservedLock,
                                      xFileControl,
                                      xSectorSize,
                                      xDeviceCharacteristics,
                                      xShmMap,
                                      xShmLock,
                                      xShmBarrier,
                                      xShmUnmap,
                                      xFetch,
                                      xUnfetch};

int vOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags)
{
    File* file = reinterpret_cast<File*>(f);
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    file->path[0] = '\0';
    if (name)
        std::strncpy(file->path, name, sizeof file->path - 1);
    file->path[sizeof file->path - 1] = '\0';
    const int rc = g_real->xOpen(g_real, name, file->real, flags, outFlags);
    file->base.pMethods = file->real->pMethods ? &g_methods : nullptr;
    return rc;
}
int vDelete(sqlite3_vfs*, const char* name, int syncDir)
{
    full(); // a deletion needs no room
    return g_real->xDelete(g_real, name, syncDir);
}
int vAccess(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return g_real->xAccess(g_real, name, flags, out);
}
int vFullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return g_real->xFullPathname(g_real, name, size, out);
}
void* vDlOpen(sqlite3_vfs*, const char* name)
{
    return g_real->xDlOpen(g_real, name);
}
void vDlError(sqlite3_vfs*, int size, char* out)
{
    g_real->xDlError(g_real, size, out);
}
void (*vDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return g_real->xDlSym(g_real, handle, symbol);
}
void vDlClose(sqlite3_vfs*, void* handle)
{
    g_real->xDlClose(g_real, handle);
}
int vRandomness(sqlite3_vfs*, int size, char* out)
{
    return g_real->xRandomness(g_real, size, out);
}
int vSleep(sqlite3_vfs*, int microseconds)
{
    return g_real->xSleep(g_real, microseconds);
}
int vCurrentTime(sqlite3_vfs*, double* out)
{
    return g_real->xCurrentTime(g_real, out);
}
int vGetLastError(sqlite3_vfs*, int size, char* out)
{
    // The engine asks for the system's error after an I/O failure.
    if (g_injected.exchange(false))
        return ENOSPC;
    return g_real->xGetLastError ? g_real->xGetLastError(g_real, size, out) : 0;
}
int vCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out)
{
    return g_real->xCurrentTimeInt64(g_real, out);
}
} // namespace

void install()
{
    if (g_real)
        return;
    sqlite3_initialize();
    g_real = sqlite3_vfs_find(nullptr);
    g_vfs = sqlite3_vfs{};
    g_vfs.iVersion = 2;
    g_vfs.szOsFile = int(sizeof(File)) + g_real->szOsFile;
    g_vfs.mxPathname = g_real->mxPathname;
    g_vfs.zName = "velarix-fault";
    g_vfs.xOpen = vOpen;
    g_vfs.xDelete = vDelete;
    g_vfs.xAccess = vAccess;
    g_vfs.xFullPathname = vFullPathname;
    g_vfs.xDlOpen = vDlOpen;
    g_vfs.xDlError = vDlError;
    g_vfs.xDlSym = vDlSym;
    g_vfs.xDlClose = vDlClose;
    g_vfs.xRandomness = vRandomness;
    g_vfs.xSleep = vSleep;
    g_vfs.xCurrentTime = vCurrentTime;
    g_vfs.xGetLastError = vGetLastError;
    g_vfs.xCurrentTimeInt64 = vCurrentTimeInt64;
    sqlite3_vfs_register(&g_vfs, 1);
}

void reset()
{
    g_events = 0;
    g_failFrom = 0;
    g_killAt = 0;
    g_injected = false;
}

int writes()
{
    return g_events;
}

void failFrom(int n)
{
    g_failFrom = n;
}

void clearFailure()
{
    g_failFrom = 0;
    g_injected = false;
}

void killAt(int n)
{
    g_killAt = n;
}

void armFromEnvironment()
{
    const QByteArray at = qgetenv("VELARIX_FAULT_KILL_AT");
    if (at.isEmpty())
        return;
    install();
    reset();
    killAt(at.toInt());
}

} // namespace FaultVfs
