#include "core/tables/TableKind.h"

namespace TableKinds {

bool isOurs(qint32 applicationId)
{
    return (quint32(applicationId) >> 16) == 0x5658;
}

QString description(qint32 applicationId)
{
    switch (TableKind(quint32(applicationId))) {
    case TableKind::Unmarked:
        return QStringLiteral("a table of an earlier version of this program");
    case TableKind::Bank:
        return QStringLiteral("the question bank");
    case TableKind::CurrentSet:
        return QStringLiteral("the current exam set");
    case TableKind::UserSet:
        return QStringLiteral("your own question set");
    case TableKind::History:
        return QStringLiteral("your score history");
    case TableKind::Notes:
        return QStringLiteral("your notes");
    case TableKind::ExamRecord:
        return QStringLiteral("your unfinished exam");
    case TableKind::ItemMemory:
        return QStringLiteral("your item memory");
    }
    return isOurs(applicationId) ? QStringLiteral("a table of a newer version of this program")
                                 : QStringLiteral("a file of another program");
}

} // namespace TableKinds
