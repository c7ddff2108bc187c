#include "core/store/ItemRecord.h"

namespace ItemRecord {

QString choiceText(int k)
{
    Q_ASSERT(k >= 1 && k <= ChoiceCount);
    return QStringLiteral("Q%1").arg(k);
}

QString choiceFlag(int k)
{
    Q_ASSERT(k >= 1 && k <= ChoiceCount);
    return QStringLiteral("A%1").arg(k);
}

namespace {
QList<FieldDef> fields(bool examNumber, bool sim, bool pictures, bool originalNumber)
{
    QList<FieldDef> f;
    f << FieldDef{Q_ID, FieldKind::Integer};
    if (examNumber)
        f << FieldDef{Q_EXAM_N, FieldKind::Integer};
    f << FieldDef{Q_SECT, FieldKind::Integer} << FieldDef{Q_TEXT, FieldKind::Memo}
      << FieldDef{Q_EXPL, FieldKind::Memo} << FieldDef{Q_TYPE, FieldKind::Boolean};
    for (int k = 1; k <= ChoiceCount; ++k)
        f << FieldDef{choiceText(k), FieldKind::Text};
    for (int k = 1; k <= ChoiceCount; ++k)
        f << FieldDef{choiceFlag(k), FieldKind::Boolean};
    if (sim)
        f << FieldDef{Q_SIM, FieldKind::Memo};
    if (pictures)
        f << FieldDef{PICT1, FieldKind::Text} << FieldDef{PICT2, FieldKind::Text};
    if (originalNumber)
        f << FieldDef{Q_OR_NUMBER, FieldKind::Integer};
    f << FieldDef{U_MEMO, FieldKind::Memo};
    return f;
}
} // namespace

TableSchema bankSchema()
{
    return TableSchema{fields(true, true, true, false), false};
}

TableSchema currentSetSchema()
{
    return TableSchema{fields(true, true, true, true), false};
}

TableSchema userSetSchema()
{
    return TableSchema{fields(false, false, false, false), true};
}

} // namespace ItemRecord
