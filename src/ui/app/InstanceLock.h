#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QLocalServer;

// Lets one copy of the program run per user: a lock file named after the
// program ("PREVINST:" + its default title), held while the copy runs, and a
// local socket over which a second copy wakes the first before it ends.
class InstanceLock : public QObject
{
    Q_OBJECT
public:
    explicit InstanceLock(const QString& name, QObject* parent = nullptr);
    // The same, looking for the lock's folder among `folders` in order
    // instead of the user's runtime and cache folders.
    InstanceLock(const QString& name, const QStringList& folders, QObject* parent = nullptr);
    ~InstanceLock() override;

    // The program file's name without folder, cut at its first ".", every
    // character after the first in lower case (EXAMPREP.EXE: "Examprep").
    static QString defaultTitle(const QString& programPath);
    static QString lockNameFor(const QString& programPath);

    QString name() const { return m_name; }
    // True when this process now holds the lock. A lock left by a process
    // that no longer runs is taken over. When no lock can be made at all
    // (no private folder, a full disk) this copy runs as the first one:
    // better two copies than none.
    bool tryLock();
    // Where the lock and the socket are; empty when no folder would serve.
    QString folder() const { return m_folder; }

    // The folders looked at: the runtime folder, then one of our own in the
    // user's cache folder. Never a folder that other users can write, where
    // anyone could plant a lock that keeps the program from starting.
    static QStringList defaultFolders();
    // True for a folder (made here with owner-only rights if missing) that
    // belongs to this user and that no one else can write into.
    static bool isPrivateFolder(const QString& path);
    // First copy: listen for wake-up calls.
    bool listen();
    // Second copy: ask the first to come to the front.
    bool wakeRunning(int timeoutMs = 2000);

signals:
    void activateRequested();

private:
    QString basePath() const;

    QString m_name;
    QStringList m_folders;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
