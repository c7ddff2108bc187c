#include "core/browser/BrowserItem.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>
#include <tuple>

QString resultText(ItemResult result)
{
    switch (result) {
    case ItemResult::None:
        return QString();
    case ItemResult::Correct:
        return QStringLiteral("Right");
    case ItemResult::Wrong:
        return QStringLiteral("Wrong");
    case ItemResult::Unanswered:
        return QStringLiteral("Unanswered");
    case ItemResult::CorrectAfterLearn:
        return QStringLiteral("Right after Learn Now");
    }
    return QString();
}

namespace BrowserColumn {

QString title(int column)
{
    static const char* const titles[Count] = {"ID",        "Source", "Section", "Exam",
                                              "Question",  "Seen",   "Wrong",   "Last result",
                                              "Last date", "Recall", "Note"};
    return column >= 0 && column < Count ? QString::fromLatin1(titles[column]) : QString();
}

QString text(const BrowserItem& item, int column)
{
    switch (column) {
    case Id:
        return QString::number(item.id);
    case Source:
        return item.source == ItemSource::Bank ? QStringLiteral("Bank") : QStringLiteral("Own");
    case Section:
        return QString::number(item.section);
    case Exam:
        return item.exam > 0 ? QString::number(item.exam) : QString();
    case Question: {
        // The first line, as a list shows it.
        const qsizetype end = item.question.indexOf(QLatin1Char('\n'));
        return (end < 0 ? item.question : item.question.left(end)).simplified();
    }
    case Seen:
        return QString::number(item.seen);
    case Wrong:
        return QString::number(item.wrong);
    case LastResult:
        return resultText(item.lastResult);
    case LastDate:
        return item.lastMs > 0
                   ? QDateTime::fromMSecsSinceEpoch(item.lastMs).toString(QStringLiteral("yyyy-MM-dd"))
                   : QString();
    case Due:
        return item.seen > 0 ? QStringLiteral("%1%%2")
                                   .arg(std::lround(item.recall * 100))
                                   .arg(item.due ? QStringLiteral(" due") : QString())
                             : QString();
    case Note:
        return item.note.isEmpty() ? QString() : QStringLiteral("Yes");
    }
    return QString();
}

bool less(const BrowserItem& a, const BrowserItem& b, int column)
{
    const auto tie = [&] { return std::tie(a.source, a.id) < std::tie(b.source, b.id); };
    const auto by = [&](const auto& x, const auto& y) { return x < y ? true : (y < x ? false : tie()); };
    switch (column) {
    case Source:
        return tie();
    case Section:
        return by(a.section, b.section);
    case Exam:
        return by(a.exam, b.exam);
    case Question: {
        const int c = QString::compare(a.question, b.question, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : tie();
    }
    case Seen:
        return by(a.seen, b.seen);
    case Wrong:
        return by(a.wrong, b.wrong);
    case LastResult:
        return by(int(a.lastResult), int(b.lastResult));
    case LastDate:
        return by(a.lastMs, b.lastMs);
    case Due:
        // Never seen goes first, then the least likely to be recalled.
        return by(std::make_pair(a.seen > 0, a.recall), std::make_pair(b.seen > 0, b.recall));
    case Note:
        return by(!a.note.isEmpty(), !b.note.isEmpty());
    case Id:
    default:
        return by(a.id, b.id);
    }
}

} // namespace BrowserColumn
