#include "core/review/ReviewRow.h"

#include "core/store/AnswerEntry.h"

namespace ReviewRow {

QString text(int index, const AnswerEntry& entry)
{
    QString letters;
    for (int k = 0; k < 6; ++k) {
        if (entry.Choice[k])
            letters += QLatin1Char(char('A' + k));
    }
    return QString::number(index + 1) + QStringLiteral("  ") + letters;
}

Icon examIcon(const AnswerEntry& entry)
{
    if (entry.Marked)
        return Marked;
    for (auto c : entry.Choice) {
        if (c)
            return Complete;
    }
    return Incomplete;
}

Icon resultsIcon(const AnswerEntry& entry)
{
    return entry.Correct ? Complete : Incorrect;
}

bool passes(Filter filter, const AnswerEntry& entry)
{
    switch (filter) {
    case Filter::All:
        return true;
    case Filter::Unanswered:
        for (auto c : entry.Choice) {
            if (c)
                return false;
        }
        return true;
    case Filter::Incorrect:
        return !entry.Correct;
    case Filter::Marked:
        return entry.Marked != 0;
    }
    return true;
}

} // namespace ReviewRow
