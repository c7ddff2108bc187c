#include "FieldDef.h"

QString fieldKindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Integer:
        return QStringLiteral("INTEGER");
    case FieldKind::Boolean:
        return QStringLiteral("BOOLEAN");
    case FieldKind::Text:
        return QStringLiteral("TEXT");
    case FieldKind::Memo:
        return QStringLiteral("MEMO");
    }
    return {};
}

bool fieldKindFromName(const QString& declared, FieldKind* kind)
{
    const QString d = declared.trimmed().toUpper();
    if (d == QLatin1String("INTEGER"))
        *kind = FieldKind::Integer;
    else if (d == QLatin1String("BOOLEAN"))
        *kind = FieldKind::Boolean;
    else if (d == QLatin1String("TEXT"))
        *kind = FieldKind::Text;
    else if (d == QLatin1String("MEMO"))
        *kind = FieldKind::Memo;
    else
        return false;
    return true;
}
