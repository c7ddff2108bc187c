#include "core/store/ItemCheck.h"

#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"

namespace ItemCheck {

QString neverCorrectReason(Table& items)
{
    using namespace ItemRecord;
    int correct = 0;
    for (int k = 1; k <= ChoiceCount; ++k) {
        if (!items.fieldByName(choiceFlag(k)).asBoolean())
            continue;
        ++correct;
        if (items.fieldByName(choiceText(k)).asString().trimmed().isEmpty())
            return QStringLiteral("Choice %1 is marked correct but has no text, so this item")
                .arg(QChar(u'A' + (k - 1)));
    }
    if (correct > 1 && !items.fieldByName(Q_TYPE).asBoolean())
        return QStringLiteral("This single-response item has %1 correct choices, so it").arg(correct);
    return {};
}

QString saveAnywayQuestion(const QString& reason)
{
    return reason + QStringLiteral(" can never be answered correctly. Save anyway?");
}

} // namespace ItemCheck
