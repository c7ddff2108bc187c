#pragma once

#include <QByteArray>
#include <QString>
#include <future>

// A storage session: a name that table components refer to, and the table
// password registered with it. The key is derived from the password once per
// process, on a worker thread started at registration, so that neither the
// registration nor the opening of a table after the first costs a derivation;
// the first rawKey() waits for the worker.
class Session
{
public:
    explicit Session(const QString& name);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    QString name() const { return m_name; }
    void registerPassword(const QString& password);
    bool hasPassword() const { return m_rawKey.valid(); }
    QByteArray rawKey() const; // 32 bytes once registered; waits for the derivation

    // The live session of that name, or nullptr.
    static Session* find(const QString& name);

private:
    QString m_name;
    std::shared_future<QByteArray> m_rawKey;
};
