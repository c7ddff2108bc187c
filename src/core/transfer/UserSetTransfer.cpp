#include "core/transfer/UserSetTransfer.h"

#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "core/transfer/ImportRules.h"

using namespace ItemRecord;

QList<TransferItem> UserSetTransfer::readAll(Table& table)
{
    // A walk would post a pending edit on the way; the sampler ends it first.
    Q_ASSERT_X(table.state() == Table::State::Browse, "UserSetTransfer::readAll",
               "the table is not browsing");
    QList<TransferItem> items;
    const qint64 mark = table.bookmark();
    table.disableControls();
    try {
        for (table.first(); !table.eof(); table.next()) {
            TransferItem item;
            item.id = table.fieldByName(Q_ID).asInteger();
            item.section = int(table.fieldByName(Q_SECT).asInteger());
            item.multiple = table.fieldByName(Q_TYPE).asBoolean();
            item.question = table.fieldByName(Q_TEXT).asString();
            item.explanation = table.fieldByName(Q_EXPL).asString();
            for (int k = 1; k <= ChoiceCount; ++k)
                item.addChoice(table.fieldByName(choiceText(k)).asString(),
                               table.fieldByName(choiceFlag(k)).asBoolean());
            ImportRules::normalise(&item);
            items << item;
        }
        if (mark >= 0)
            table.gotoBookmark(mark);
        else
            table.first();
    } catch (...) {
        table.enableControls();
        throw;
    }
    table.enableControls();
    return items;
}

QList<qint64> UserSetTransfer::appendAll(Table& table, const QList<TransferItem>& items, int unsortedSection,
                                         const std::function<bool(int)>& step)
{
    QList<qint64> ids;
    table.disableControls();
    try {
        table.startTransaction();
        for (int i = 0; i < items.size(); ++i) {
            if (step && !step(i)) {
                table.rollback();
                table.enableControls();
                return {};
            }
            const TransferItem& item = items.at(i);
            table.append();
            table.fieldByName(Q_SECT).setAsInteger(item.section > 0 ? item.section : unsortedSection);
            table.fieldByName(Q_TYPE).setAsBoolean(item.multiple);
            table.fieldByName(Q_TEXT).setAsString(item.question);
            table.fieldByName(Q_EXPL).setAsString(item.explanation);
            for (int k = 1; k <= ChoiceCount; ++k) {
                table.fieldByName(choiceText(k)).setAsString(item.choices.value(k - 1));
                table.fieldByName(choiceFlag(k)).setAsBoolean(item.correct.value(k - 1));
            }
            table.post();
            ids << table.bookmark();
        }
        table.commit();
    } catch (...) {
        try {
            table.cancel();
            table.rollback();
        } catch (...) {
            // The engine's first error is the one to report.
        }
        table.enableControls();
        throw;
    }
    if (!ids.isEmpty())
        table.findKey(ids.first());
    table.enableControls();
    return ids;
}

int UserSetTransfer::unsortedCount(const QList<TransferItem>& items)
{
    int n = 0;
    for (const TransferItem& item : items)
        n += item.section == 0 ? 1 : 0;
    return n;
}
