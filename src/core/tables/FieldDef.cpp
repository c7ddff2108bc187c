#include "core/tables/FieldDef.h"

QString fieldKindName(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Integer:
        return QStringLiteral("INTEGER");
    case FieldKind::Boolean:
        return QStringLiteral("BOOLEAN");
    case FieldKind::Text:
    case FieldKind::Memo:
        // TEXT affinity: what was typed is stored as typed ("007" stays
        // "007"); a memo is a text without a length limit.
        return QStringLiteral("TEXT");
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
        *kind = FieldKind::Memo; // older files; Database migrates them on open
    else
        return false;
    return true;
}

bool isLegacyKindName(const QString& declared)
{
    return declared.trimmed().compare(QLatin1String("MEMO"), Qt::CaseInsensitive) == 0;
}
