#pragma once

#include "core/grading/GradeExam.h"
#include "core/grading/GradeResult.h"

#include <QDialog>

class QBarCategoryAxis;
class QBarSet;
class QChart;
class QChartView;
class QHorizontalBarSeries;
class QLabel;
class QPushButton;
class QScrollArea;
class QValueAxis;
class ShadedLabel;

// The score window: the total score against the required score, the result
// line with the grade, and one bar per exam section. Filled by grading and
// shown modally over the exam window; it keeps its contents until the next
// exam is graded. It has no close box and no cancel key: the candidate leaves
// it by "View Answers" or by a confirmed "Exit Exam", and the opener acts on
// that choice.
class TScoreForm : public QDialog
{
    Q_OBJECT
public:
    // How the candidate left the window; None while it is open.
    enum class Choice { None, ViewAnswers, ExitExam };

    explicit TScoreForm(QWidget* parent = nullptr);

    // The opener clears the choice before each opening and reads it after.
    Choice choice() const { return m_choice; }
    void clearChoice() { m_choice = Choice::None; }

    // Takes a grading: fills the total part, then the sections.
    void ShowResult(const GradeResult& result);
    // The grading the window shows (also what the score printout prints).
    const GradeResult& result() const { return m_result; }

    // The category labels of a chart as they read unwrapped, bottom to top.
    static QStringList categoryLabels(QBarCategoryAxis* axis);

public slots:
    void reject() override; // no cancel key, no close box

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillTotal(const GradeResult& result);
    void FillSections(const GradeResult& result);
    void BitBtn1Click(); // View Answers
    void BitBtn2Click(); // Print Report
    void BitBtn3Click(); // Exit Exam

    void buildHeading();
    void buildTotalPanel();
    void buildSectionChart();
    void buildButtons();
    void fitSectionChart();

    ShadedLabel* fcLabel1 = nullptr;
    QChartView* TotalChartView = nullptr;
    QChart* TotalChart = nullptr;
    QHorizontalBarSeries* TotalSeries = nullptr;
    QBarSet* TotalBars = nullptr;
    QBarCategoryAxis* TotalCategories = nullptr;
    QValueAxis* TotalValues = nullptr;
    QLabel* TotalLabel = nullptr;

    QScrollArea* ScrollBox1 = nullptr;
    QChartView* Chart1View = nullptr;
    QChart* Chart1 = nullptr;
    QLabel* Chart1Title = nullptr;
    QHorizontalBarSeries* Chart1Series = nullptr;
    QBarSet* Chart1Bars = nullptr;
    QBarCategoryAxis* Chart1Categories = nullptr;
    QValueAxis* Chart1Values = nullptr;

    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;

    GradeResult m_result;
    Choice m_choice = Choice::None;
};
