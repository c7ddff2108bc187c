#include "core/tables/Session.h"

#include "core/tables/KeyDerivation.h"
#include "core/tables/TableError.h"

#include <QCryptographicHash>
#include <QHash>
#include <sys/resource.h>
#include <unistd.h>

namespace {
// Sessions by upper-cased name; the newest live one of a name is found.
QHash<QString, QList<Session*>>& registry()
{
    static QHash<QString, QList<Session*>> sessions;
    return sessions;
}
} // namespace

Session::Session(const QString& name) : m_name(name)
{
    registry()[name.toUpper()].append(this);
}

Session::~Session()
{
    auto& sessions = registry();
    auto it = sessions.find(m_name.toUpper());
    if (it != sessions.end()) {
        it.value().removeAll(this);
        if (it.value().isEmpty())
            sessions.erase(it);
    }
}

void Session::registerPassword(const QString& password)
{
    if (password.size() != 13)
        throw TableError(QStringLiteral("The table password must have 13 characters"));
    // The session name salts the derivation: one password per session. The
    // derivation is slow on purpose, so it is done once per process, and off
    // the caller's thread: registration comes early, the first table later.
    static QHash<QByteArray, std::shared_future<QByteArray>> derived;
    const QByteArray salt = "Velarix tables/" + m_name.toUtf8();
    const QByteArray secret = password.toUtf8();
    const QByteArray cacheKey = salt + '\0' + secret;
    auto it = derived.constFind(cacheKey);
    if (it == derived.constEnd())
        it = derived.insert(cacheKey, std::async(std::launch::async, [salt, secret] {
                                          // Behind the first windows being drawn: a lower
                                          // priority, so it takes what they leave idle.
                                          setpriority(PRIO_PROCESS, id_t(gettid()), 10);
                                          return KeyDerivation::pbkdf2(KeyDerivation::Hash::Sha256, secret,
                                                                       salt, 64000, 32);
                                      }).share());
    m_rawKey = it.value();
}

QByteArray Session::rawKey() const
{
    return m_rawKey.valid() ? m_rawKey.get() : QByteArray();
}

Session* Session::find(const QString& name)
{
    const QList<Session*> live = registry().value(name.toUpper());
    return live.isEmpty() ? nullptr : live.last();
}
