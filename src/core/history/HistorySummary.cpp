#include "core/history/HistorySummary.h"

#include "core/grading/GradeExam.h"
#include "core/store/SectionNames.h"

HistorySummary::HistorySummary(const std::vector<HistoryAttempt>& attempts)
{
    m_counted = int(std::min<std::size_t>(attempts.size(), RecentAttempts));
    for (int a = 0; a < m_counted; ++a) {
        for (int s = 0; s < 6; ++s) {
            m_shares[s].correct += attempts[a].sections[s].correct;
            m_shares[s].items += attempts[a].sections[s].items;
        }
    }
    for (int s = 0; s < 6; ++s) {
        Share& sh = m_shares[s];
        sh.percent = sh.items > 0 ? int(roundHalfEven(std::int64_t(sh.correct) * 100, sh.items)) : 0;
        if (sh.items == 0)
            continue;
        // Compared as exact fractions, not as rounded percents.
        if (m_weakest == 0 || std::int64_t(sh.correct) * m_shares[m_weakest - 1].items <
                                  std::int64_t(m_shares[m_weakest - 1].correct) * sh.items)
            m_weakest = s + 1;
    }
}

QString HistorySummary::weakestText() const
{
    if (m_weakest == 0)
        return QStringLiteral("No section has been answered yet.");
    return QStringLiteral("Weakest section: %1 (%2% correct over the last %3 %4)")
        .arg(SectionNames::name(m_weakest))
        .arg(m_shares[m_weakest - 1].percent)
        .arg(m_counted)
        .arg(m_counted == 1 ? QStringLiteral("attempt") : QStringLiteral("attempts"));
}
