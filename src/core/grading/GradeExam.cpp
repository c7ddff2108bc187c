#include "core/grading/GradeExam.h"

#include "core/store/AnswerSheet.h"
#include "core/store/SectionNames.h"

namespace {
bool talliesAddUp(const GradeResult& r)
{
    std::int32_t items = r.Other.items;
    std::int32_t correct = r.Other.correct;
    for (const SectionTally& t : r.Sections) {
        items += t.items;
        correct += t.correct;
    }
    return items == r.items && correct == r.correct && r.correct <= r.items;
}
} // namespace

std::int64_t roundHalfEven(std::int64_t numerator, std::int64_t denominator)
{
    Q_ASSERT(denominator > 0);
    const std::int64_t quotient = numerator / denominator;
    const std::int64_t twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0))
        return quotient + 1;
    return quotient;
}

GradeResult GradeExam(const AnswerSheet& sheet, const QString& candidateName, const QString& examTitle)
{
    GradeResult r;
    for (int s = 1; s <= SectionNames::Count; ++s)
        r.Sections[s - 1].name = SectionNames::name(s);
    r.Other.name = QStringLiteral("Other");

    for (const AnswerEntry& e : sheet.entries()) {
        ++r.items;
        if (e.Correct)
            ++r.correct;
        // An entry outside the six sections counts under "Other", so that
        // the rows of the report add up to the total.
        const bool known = e.Section >= 1 && e.Section <= SectionNames::Count;
        SectionTally& t = known ? r.Sections[e.Section - 1] : r.Other;
        ++t.items;
        if (e.Correct)
            ++t.correct;
    }

    const std::int64_t n = r.items;
    const std::int64_t scaled = std::int64_t(GradeResult::MaxScore) * r.correct;
    if (n > 0) {
        r.score = double(scaled) / double(n);
        r.shownScore = std::int32_t(roundHalfEven(scaled, n));
        // Compared in integers on the exact ratio, never on the shown score:
        // 130 of 153 is 849.67, shown as 850, and fails.
        r.passed = scaled >= std::int64_t(GradeResult::PassingScore) * n;
    }
    // With no items there is nothing to pass: score 0, "Fail".
    r.gradeWord = r.passed ? QStringLiteral("Pass") : QStringLiteral("Fail");

    r.ScoreTitle = candidateName + QStringLiteral(",  ") + QStringLiteral("Velarix 2.0") +
                   QStringLiteral(",  ") + examTitle;
    r.ResultLine = QStringLiteral("Passing Score: ") + QString::number(GradeResult::PassingScore) +
                   QStringLiteral("   Your Score: ") + QString::number(r.shownScore) +
                   QStringLiteral("   Grade: ") + r.gradeWord;

    const auto finish = [](SectionTally& t) {
        t.percent = t.items == 0 ? 0 : std::int32_t(roundHalfEven(std::int64_t(t.correct) * 100, t.items));
        t.label = t.name + QStringLiteral(" (") + QString::number(t.correct) + QStringLiteral("/") +
                  QString::number(t.items) + QStringLiteral(") ");
    };
    for (SectionTally& t : r.Sections)
        finish(t);
    finish(r.Other);
    // The rows of the report add up to the total.
    Q_ASSERT(talliesAddUp(r));
    return r;
}
