#pragma once

#include <QByteArray>
#include <QString>

// A storage session: a name that table components refer to, and the table
// password registered with it. The key is derived from the password once, at
// registration, so that opening a table costs no key derivation.
class Session
{
public:
    explicit Session(const QString& name);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    QString name() const { return m_name; }
    void registerPassword(const QString& password);
    bool hasPassword() const { return !m_rawKey.isEmpty(); }
    QByteArray rawKey() const { return m_rawKey; } // 32 bytes once registered

    // The live session of that name, or nullptr.
    static Session* find(const QString& name);

private:
    QString m_name;
    QByteArray m_rawKey;
};
