#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
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
    ~InstanceLock() override;

    // The program file's name without folder, cut at its first ".", every
    // character after the first in lower case (EXAMPREP.EXE: "Examprep").
    static QString defaultTitle(const QString& programPath);
    static QString lockNameFor(const QString& programPath);

    QString name() const { return m_name; }
    // True when this process now holds the lock. A lock left by a process
    // that no longer runs is taken over.
    bool tryLock();
    // First copy: listen for wake-up calls.
    bool listen();
    // Second copy: ask the first to come to the front.
    bool wakeRunning(int timeoutMs = 2000);

signals:
    void activateRequested();

private:
    QString basePath() const;

    QString m_name;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
