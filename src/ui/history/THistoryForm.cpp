#include "ui/history/THistoryForm.h"

#include "core/grading/ChartText.h"
#include "core/grading/GradeResult.h"
#include "core/history/HistoryCsv.h"
#include "core/history/HistorySummary.h"
#include "core/store/SectionNames.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/ScreenFit.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace {
const QColor Navy(0, 0, 128);
const QColor ScoreGreen(0, 128, 0);
const QColor PassBlue(0, 0, 255);
const QColor SectionRed(255, 0, 0);
// Section labels wider than this go onto a second line.
constexpr int SectionLabelWidth = 180;

QChartView* chartView(QChart* chart, QWidget* parent, const QString& name)
{
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::white);
    chart->setTitleBrush(Navy);
    QFont title = chart->titleFont();
    title.setBold(true);
    chart->setTitleFont(title);
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setAccessibleName(name);
    return view;
}
} // namespace

THistoryForm::THistoryForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Score History"));
    setSizeGripEnabled(true);
    ScreenFit::resizeWithin(this, QSize(980, 680));
    auto* col = new QVBoxLayout(this);

    Pages = new QStackedWidget(this);
    EmptyLabel = new QLabel(QStringLiteral("No graded exam yet.\nYour score history starts with your first "
                                           "graded exam."),
                            Pages);
    EmptyLabel->setAlignment(Qt::AlignCenter);
    Pages->addWidget(EmptyLabel);

    auto* page = new QWidget(Pages);
    auto* pageCol = new QVBoxLayout(page);
    pageCol->setContentsMargins(0, 0, 0, 0);
    AttemptsTable = new QTableWidget(0, 6, page);
    AttemptsTable->setAccessibleName(QStringLiteral("Attempts"));
    AttemptsTable->setHorizontalHeaderLabels({QStringLiteral("Date and time"), QStringLiteral("Exam"),
                                              QStringLiteral("Items"), QStringLiteral("Score"),
                                              QStringLiteral("Grade"), QStringLiteral("Time used")});
    AttemptsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    AttemptsTable->setSelectionMode(QAbstractItemView::SingleSelection);
    AttemptsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AttemptsTable->verticalHeader()->hide();
    AttemptsTable->horizontalHeader()->setStretchLastSection(true);
    pageCol->addWidget(AttemptsTable, 1);
    buildScoreChart();
    buildSectionChart();
    auto* charts = new QHBoxLayout();
    charts->addWidget(ScoreChartView, 2);
    charts->addWidget(SectionChartView, 3);
    // The charts get the larger share: their labels need the room, the table scrolls.
    pageCol->addLayout(charts, 2);
    WeakestLabel = new QLabel(page);
    QFont bold = WeakestLabel->font();
    bold.setBold(true);
    WeakestLabel->setFont(bold);
    pageCol->addWidget(WeakestLabel);
    Pages->addWidget(page);
    col->addWidget(Pages, 1);
    // A few wrapped lines below the charts, also while the history is empty.
    ReadinessLabel = new QLabel(this);
    ReadinessLabel->setWordWrap(true);
    ReadinessLabel->setTextFormat(Qt::RichText);
    ReadinessLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ReadinessLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    ReadinessLabel->hide();
    col->addWidget(ReadinessLabel);

    auto* buttons = new QHBoxLayout();
    ExportButton = new QPushButton(QStringLiteral("E&xport CSV..."), this);
    DeleteButton = new QPushButton(QStringLiteral("&Delete Attempt"), this);
    CloseButton = new QPushButton(QStringLiteral("&Close"), this);
    for (QPushButton* b : {ExportButton, DeleteButton, CloseButton}) {
        b->setAutoDefault(false);
        b->setAccessibleName(b->text().remove(QLatin1Char('&')));
    }
    buttons->addWidget(ExportButton);
    buttons->addWidget(DeleteButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    col->addLayout(buttons);

    connect(ExportButton, &QPushButton::clicked, this, guarded(this, &THistoryForm::ExportButtonClick));
    connect(DeleteButton, &QPushButton::clicked, this, guarded(this, &THistoryForm::DeleteButtonClick));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(AttemptsTable, &QTableWidget::itemSelectionChanged, this, &THistoryForm::updateButtons);
    load({});
    nameControls({{Pages, "Pages"},
                  {EmptyLabel, "EmptyLabel"},
                  {AttemptsTable, "AttemptsTable"},
                  {ScoreChartView, "ScoreChartView"},
                  {ScoreChart, "ScoreChart"},
                  {SectionChartView, "SectionChartView"},
                  {SectionChart, "SectionChart"},
                  {WeakestLabel, "WeakestLabel"},
                  {ReadinessLabel, "ReadinessLabel"},
                  {ExportButton, "ExportButton"},
                  {DeleteButton, "DeleteButton"},
                  {CloseButton, "CloseButton"}});
}

void THistoryForm::buildScoreChart()
{
    ScoreChart = new QChart();
    ScoreChart->setTitle(QStringLiteral("Score by date"));
    ScoreSeries = new QLineSeries(ScoreChart);
    ScoreSeries->setName(QStringLiteral("Your score"));
    ScoreSeries->setPen(QPen(ScoreGreen, 2));
    ScoreSeries->setPointsVisible(true);
    PassSeries = new QLineSeries(ScoreChart);
    PassSeries->setName(QStringLiteral("Passing score"));
    PassSeries->setPen(QPen(PassBlue, 1.5, Qt::DashLine));
    ScoreChart->addSeries(ScoreSeries);
    ScoreChart->addSeries(PassSeries);
    DateAxis = new QDateTimeAxis(ScoreChart);
    DateAxis->setFormat(QStringLiteral("yyyy-MM-dd"));
    DateAxis->setTickCount(4);
    ScoreAxis = new QValueAxis(ScoreChart);
    ScoreAxis->setRange(0, GradeResult::MaxScore);
    ScoreAxis->setTickCount(11);
    ScoreAxis->setLabelFormat(QStringLiteral("%d"));
    ScoreChart->addAxis(DateAxis, Qt::AlignBottom);
    ScoreChart->addAxis(ScoreAxis, Qt::AlignLeft);
    for (QLineSeries* s : {ScoreSeries, PassSeries}) {
        s->attachAxis(DateAxis);
        s->attachAxis(ScoreAxis);
    }
    ScoreChartView = chartView(ScoreChart, this, QStringLiteral("Score by date"));
}

void THistoryForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ScreenFit::centre(this);
    fitDateTicks();
}

void THistoryForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    fitDateTicks();
}

void THistoryForm::fitDateTicks()
{
    // As many scores beside the chart as have room: every 100, 200, 250 or 500.
    const int line = QFontMetrics(ScoreAxis->labelsFont()).height() + 4;
    // The chart lays itself out later: its view's height, less its title and dates.
    const int tall = ScoreChartView->height() - 100;
    int ticks = 3;
    for (int n : {11, 6, 5})
        if ((n - 1) * line <= tall) {
            ticks = n;
            break;
        }
    ScoreAxis->setTickCount(ticks);
    // A date cut short reads as "..."; fewer dates, each whole, read.
    const int label =
        QFontMetrics(DateAxis->labelsFont()).horizontalAdvance(QStringLiteral("0000-00-00")) + 24;
    const int room = std::max(ScoreChart->plotArea().width() > 0 ? int(ScoreChart->plotArea().width())
                                                                 : ScoreChartView->width() - 80,
                              label);
    DateAxis->setTickCount(std::clamp(room / label, 2, 4));
}

void THistoryForm::buildSectionChart()
{
    SectionChart = new QChart();
    SectionChart->setTitle(QStringLiteral("Sections, last %1 attempts").arg(HistorySummary::RecentAttempts));
    SectionSeries = new QHorizontalBarSeries(SectionChart);
    SectionBars = new QBarSet(QString(), SectionSeries);
    SectionBars->setColor(SectionRed);
    SectionBars->setBorderColor(SectionRed);
    SectionSeries->append(SectionBars);
    SectionSeries->setBarWidth(0.8);
    SectionChart->addSeries(SectionSeries);
    SectionCategories = new QBarCategoryAxis(SectionChart);
    SectionValues = new QValueAxis(SectionChart);
    SectionValues->setRange(0, 100);
    SectionValues->setTickCount(6);
    SectionValues->setLabelFormat(QStringLiteral("%d"));
    QFont small = SectionCategories->labelsFont();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    SectionCategories->setLabelsFont(small);
    SectionChart->addAxis(SectionCategories, Qt::AlignLeft);
    SectionChart->addAxis(SectionValues, Qt::AlignBottom);
    SectionSeries->attachAxis(SectionCategories);
    SectionSeries->attachAxis(SectionValues);
    SectionChartView = chartView(SectionChart, this, QStringLiteral("Sections"));
}

void THistoryForm::load(const std::vector<HistoryAttempt>& attempts)
{
    m_attempts = attempts;
    Pages->setCurrentIndex(m_attempts.empty() ? 0 : 1);
    fillTable();
    fillScoreChart();
    fillSectionChart();
    updateButtons();
}

void THistoryForm::fillTable()
{
    AttemptsTable->clearContents();
    AttemptsTable->setRowCount(int(m_attempts.size()));
    for (int r = 0; r < int(m_attempts.size()); ++r) {
        const HistoryAttempt& a = m_attempts[r];
        const QStringList texts{a.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                                a.examTitle,
                                QString::number(a.items),
                                QString::number(a.score),
                                a.grade,
                                HistoryCsv::duration(a.timeUsedSeconds)};
        for (int c = 0; c < texts.size(); ++c) {
            auto* cell = new QTableWidgetItem(texts.at(c));
            if (c == 2 || c == 3)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            AttemptsTable->setItem(r, c, cell);
        }
    }
    AttemptsTable->resizeColumnsToContents();
}

void THistoryForm::fillScoreChart()
{
    ScoreSeries->clear();
    PassSeries->clear();
    if (m_attempts.empty())
        return;
    // Oldest to newest, left to right.
    QDateTime first = m_attempts.back().when, last = m_attempts.front().when;
    for (auto it = m_attempts.rbegin(); it != m_attempts.rend(); ++it)
        ScoreSeries->append(double(it->when.toMSecsSinceEpoch()), it->score);
    if (first.secsTo(last) < 3600) {
        // One attempt, or a few within the hour: a day either side.
        first = first.addDays(-1);
        last = last.addDays(1);
    }
    PassSeries->append(double(first.toMSecsSinceEpoch()), GradeResult::PassingScore);
    PassSeries->append(double(last.toMSecsSinceEpoch()), GradeResult::PassingScore);
    // A short span gets fewer, shorter ticks, so that no two read the same.
    const bool shortSpan = first.daysTo(last) <= 4;
    DateAxis->setFormat(shortSpan ? QStringLiteral("MM-dd") : QStringLiteral("yyyy-MM-dd"));
    DateAxis->setTickCount(shortSpan ? 3 : 4);
    DateAxis->setRange(first, last);
}

void THistoryForm::fillSectionChart()
{
    const HistorySummary summary(m_attempts);
    SectionBars->remove(0, SectionBars->count());
    SectionCategories->clear();
    QStringList labels;
    // A long section name goes on two lines rather than being cut short.
    const QFontMetrics fm(SectionCategories->labelsFont());
    const auto width = [&fm](const QString& s) { return fm.horizontalAdvance(s); };
    // Added from section 6 down, so that section 1 stands at the top.
    for (int s = 6; s >= 1; --s) {
        const HistorySummary::Share& sh = summary.shares()[s - 1];
        SectionBars->append(sh.percent);
        labels << ChartText::wrap(
            QStringLiteral("%1 (%2/%3) ").arg(SectionNames::name(s)).arg(sh.correct).arg(sh.items),
            SectionLabelWidth, width);
    }
    SectionCategories->append(labels);
    WeakestLabel->setText(summary.weakestText());
}

void THistoryForm::showReadiness(const Readiness::Forecast& forecast)
{
    QStringList lines;
    if (!forecast.enough) {
        lines << QStringLiteral("<b>%1</b>").arg(forecast.notEnoughText.toHtmlEscaped());
    } else {
        lines << QStringLiteral("<b>Predicted score: %1 (80% between %2 and %3), chance of passing: %4%</b>")
                     .arg(forecast.score)
                     .arg(forecast.low)
                     .arg(forecast.high)
                     .arg(qRound(100 * forecast.passChance));
        QStringList shares;
        for (int s = 1; s <= SectionNames::Count; ++s) {
            const Readiness::Section& section = forecast.sections[s - 1];
            if (section.items > 0)
                shares
                    << QStringLiteral("%1 %2%").arg(SectionNames::name(s)).arg(qRound(100 * section.share));
        }
        QString bySection =
            QStringLiteral("Predicted share right: ") + shares.join(QStringLiteral(", ")) + QLatin1Char('.');
        if (forecast.gainsMost >= 1 && forecast.gainsMost <= SectionNames::Count)
            bySection += QStringLiteral(" Practice would gain most in %1 (up to %2 points).")
                             .arg(SectionNames::name(forecast.gainsMost))
                             .arg(qRound(forecast.sections[forecast.gainsMost - 1].gain));
        lines << bySection.toHtmlEscaped() << forecast.basisText.toHtmlEscaped();
    }
    ReadinessLabel->setText(lines.join(QStringLiteral("<br>")));
    ReadinessLabel->setAccessibleName(QStringLiteral("Readiness"));
    ReadinessLabel->show();
}

void THistoryForm::clearReadiness()
{
    ReadinessLabel->clear();
    ReadinessLabel->hide();
}

const HistoryAttempt* THistoryForm::selectedAttempt() const
{
    const QList<QTableWidgetItem*> selected = AttemptsTable->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const int row = selected.first()->row();
    return row >= 0 && row < int(m_attempts.size()) ? &m_attempts[row] : nullptr;
}

void THistoryForm::updateButtons()
{
    ExportButton->setEnabled(!m_attempts.empty());
    DeleteButton->setEnabled(selectedAttempt() != nullptr);
}

void THistoryForm::ExportButtonClick()
{
    if (m_attempts.empty())
        return;
    const QString fileName =
        Dialogs::getSaveFileName(this, QStringLiteral("Export Score History"),
                                 QStringLiteral("score-history.csv"), QStringLiteral("CSV files (*.csv)"));
    if (!fileName.isEmpty())
        emit exportRequested(fileName);
}

void THistoryForm::DeleteButtonClick()
{
    const HistoryAttempt* a = selectedAttempt();
    if (!a)
        return;
    const QString question = QStringLiteral("Delete the attempt of %1 (%2, score %3)?")
                                 .arg(a->when.toString(QStringLiteral("yyyy-MM-dd HH:mm")), a->examTitle)
                                 .arg(a->score);
    if (Dialogs::message(this, Dialogs::Icon::Question, question, Dialogs::Yes | Dialogs::No, Dialogs::No,
                         Dialogs::No) == Dialogs::Yes)
        emit deleteRequested(a->id);
}
