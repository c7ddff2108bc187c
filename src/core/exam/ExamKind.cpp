#include "core/exam/ExamKind.h"

namespace {
// Every bank item that belongs to one of the practice exams.
const QString InAnyExam = QStringLiteral("Q_EXAM_N<>0");
} // namespace

ExamKind ExamKind::practice(int exam)
{
    Q_ASSERT_X(exam >= 1 && exam <= 5, "ExamKind::practice", "practice exams are A to E");
    const QString letter(QChar('A' + exam - 1));
    return {QStringLiteral("Begin Practice Exam ") + letter, QStringLiteral("Practice Exam ") + letter,
            ExamAssembly::Source::Bank, QStringLiteral("Q_EXAM_N=%1").arg(exam), false};
}

ExamKind ExamKind::allQuestions()
{
    return {QStringLiteral("Take All Questions"), QStringLiteral("All Questions"), ExamAssembly::Source::Bank,
            InAnyExam, false};
}

ExamKind ExamKind::random()
{
    return {QStringLiteral("Random Exam"), QStringLiteral("Random Exam"), ExamAssembly::Source::Bank,
            InAnyExam, true};
}

ExamKind ExamKind::user()
{
    return {QStringLiteral("User Exam"), QStringLiteral("User Exam"), ExamAssembly::Source::UserSet,
            QString(), false};
}

ExamKind ExamKind::retake()
{
    return {QStringLiteral("Retake Incorrect Items"), QStringLiteral("Retake Incorrect Items"),
            ExamAssembly::Source::Bank, QString(), false};
}

ExamKind ExamKind::smartReview()
{
    return {QStringLiteral("Smart Review"), QStringLiteral("Smart Review"), ExamAssembly::Source::Bank,
            InAnyExam, true};
}
