#pragma once

#include "core/history/HistoryAttempt.h"
#include "core/learning/Readiness.h"

#include <QDialog>
#include <vector>

class QBarCategoryAxis;
class QBarSet;
class QChart;
class QChartView;
class QDateTimeAxis;
class QHorizontalBarSeries;
class QLabel;
class QLineSeries;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QValueAxis;

// The score history window: every graded exam in a table, newest first, the
// score over time against the passing score, and each section's share of
// correct items over the latest attempts. It shows what it is given and
// reports what the candidate asks for; the opener changes the history.
class THistoryForm : public QDialog
{
    Q_OBJECT
public:
    explicit THistoryForm(QWidget* parent = nullptr);

    // attempts newest first.
    void load(const std::vector<HistoryAttempt>& attempts);
    const std::vector<HistoryAttempt>& attempts() const { return m_attempts; }
    // How a practice exam would go today, or why that cannot be said yet.
    void showReadiness(const Readiness::Forecast& forecast);
    void clearReadiness();

signals:
    // The candidate confirmed deleting this attempt.
    void deleteRequested(qint64 id);
    // The candidate chose a file to export the history to.
    void exportRequested(const QString& fileName);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The attempt of the selected table row, or nullptr.
    const HistoryAttempt* selectedAttempt() const;

    void ExportButtonClick();
    void DeleteButtonClick();

    void buildScoreChart();
    void buildSectionChart();
    // As many dates under the score chart as fit whole.
    void fitDateTicks();
    void fillTable();
    void fillScoreChart();
    void fillSectionChart();
    void updateButtons();

    QStackedWidget* Pages = nullptr;
    QLabel* EmptyLabel = nullptr;
    QTableWidget* AttemptsTable = nullptr;
    QChartView* ScoreChartView = nullptr;
    QChart* ScoreChart = nullptr;
    QLineSeries* ScoreSeries = nullptr;
    QLineSeries* PassSeries = nullptr;
    QDateTimeAxis* DateAxis = nullptr;
    QValueAxis* ScoreAxis = nullptr;
    QChartView* SectionChartView = nullptr;
    QChart* SectionChart = nullptr;
    QHorizontalBarSeries* SectionSeries = nullptr;
    QBarSet* SectionBars = nullptr;
    QBarCategoryAxis* SectionCategories = nullptr;
    QValueAxis* SectionValues = nullptr;
    QLabel* WeakestLabel = nullptr;
    QLabel* ReadinessLabel = nullptr;
    QPushButton* ExportButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* CloseButton = nullptr;

    std::vector<HistoryAttempt> m_attempts;
};
