#include "ImportRoundTrip.h"

#include "core/transfer/ImportRules.h"

#include <cstdlib>

TransferItem ImportRoundTrip::carried(const TransferItem& item, Carries carries)
{
    TransferItem out;
    out.section = item.section;
    out.multiple = item.multiple;
    out.question = item.question;
    out.explanation = item.explanation;
    for (int i = 0; i < item.choices.size(); ++i) {
        if (carries.emptyChoices || !item.choices.at(i).isEmpty())
            out.addChoice(item.choices.at(i), item.correct.value(i));
    }
    if (!carries.lineBreaks) {
        out.question = ImportRules::oneLine(out.question);
        out.explanation = ImportRules::oneLine(out.explanation);
    }
    ImportRules::normalise(&out);
    return out;
}

void ImportRoundTrip::requireSame(const ImportResult& first, const ImportResult& second, Carries carries)
{
    if (!second.ok() || second.items.size() != first.items.size())
        std::abort();
    for (qsizetype i = 0; i < first.items.size(); ++i) {
        if (!(carried(first.items.at(i), carries) == carried(second.items.at(i), carries)))
            std::abort();
    }
}
