#include "ui/grading/TScoreForm.h"

#include "core/grading/ChartText.h"
#include "core/grading/ScoreReport.h"
#include "core/tables/Table.h"
#include "ui/reports/FontTextMeasurer.h"
#include "ui/reports/ReportPainter.h"
#include "ui/widgets/Contrast.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/ShadedLabel.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {
const QColor ScoreGreen(0, 128, 0);
const QColor RequiredBlue(0, 0, 255);
const QColor SectionRed(255, 0, 0);
const QColor Navy(0, 0, 128);

constexpr int ClientWidth = 582;
constexpr int ClientHeight = 435;
constexpr int HeadingHeight = 33;
constexpr int TotalPanelHeight = 184;
constexpr int TotalBorder = 5;
constexpr int TotalChartHeight = 142;
constexpr int ResultLineHeight = 32;
constexpr int ButtonRowHeight = 40;
// Section labels wider than this are broken onto further lines; at the
// labels' small size every section name fits on one.
constexpr int SectionLabelWidth = 250;
constexpr int SectionLabelPoints = 7;

void styleAxisLabels(QAbstractAxis* axis, const QFont& font)
{
    axis->setLabelsFont(font);
    axis->setLabelsColor(Qt::black);
}
} // namespace

TScoreForm::TScoreForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Examora"));
    // A fixed dialog frame without title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(ClientWidth, ClientHeight);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildHeading();
    buildTotalPanel();
    buildSectionChart();
    buildButtons();
    nameControls({{fcLabel1, "fcLabel1"},
                  {TotalLabel, "TotalLabel"},
                  {ScrollBox1, "ScrollBox1"},
                  {Chart1Title, "Chart1Title"},
                  {BitBtn1, "BitBtn1"},
                  {BitBtn2, "BitBtn2"},
                  {BitBtn3, "BitBtn3"}});
}

void TScoreForm::buildHeading()
{
    auto* band = new QFrame(this);
    band->setFixedHeight(HeadingHeight);
    band->setAutoFillBackground(true);
    QPalette pal = band->palette();
    pal.setColor(QPalette::Window, Navy);
    band->setPalette(pal);
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(0, 0, 0, 0);
    fcLabel1 = new ShadedLabel(QStringLiteral("Examination Score Report"), band);
    QFont f = font();
    f.setBold(true);
    f.setItalic(true);
    f.setPointSize(12);
    fcLabel1->setFont(f);
    fcLabel1->setTextColor(Qt::white);
    fcLabel1->setShadow(Qt::black, 1);
    fcLabel1->setAlignment(Qt::AlignCenter);
    row->addWidget(fcLabel1);
    static_cast<QVBoxLayout*>(layout())->addWidget(band);
}

void TScoreForm::buildTotalPanel()
{
    auto* panel = new QFrame(this);
    panel->setFixedHeight(TotalPanelHeight);
    auto* col = new QVBoxLayout(panel);
    col->setContentsMargins(TotalBorder, TotalBorder, TotalBorder, TotalBorder);
    col->setSpacing(0);

    TotalChart = new QChart();
    TotalChart->legend()->hide();
    TotalChart->setBackgroundBrush(Qt::white);
    TotalChart->setBackgroundRoundness(0);
    TotalChart->setBackgroundPen(Qt::NoPen);
    TotalChart->setMargins(QMargins(6, 0, 14, 0));
    TotalChart->layout()->setContentsMargins(0, 0, 0, 0);
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSize(9);
    TotalChart->setTitleFont(titleFont);
    TotalChart->setTitleBrush(Navy);

    TotalSeries = new QHorizontalBarSeries();
    TotalSeries->setBarWidth(0.9);
    TotalSeries->setLabelsVisible(false);
    // One set for both bars: "Your score" in the set's colour, "Required
    // score" selected, in the selection colour.
    TotalBars = new QBarSet(QString());
    TotalBars->setColor(ScoreGreen);
    TotalBars->setBorderColor(ScoreGreen.darker(150));
    TotalBars->setSelectedColor(RequiredBlue);
    TotalSeries->append(TotalBars);
    TotalChart->addSeries(TotalSeries);

    TotalCategories = new QBarCategoryAxis();
    TotalCategories->setGridLineVisible(false);
    styleAxisLabels(TotalCategories, font());
    TotalValues = new QValueAxis();
    TotalValues->setRange(0, GradeResult::MaxScore);
    TotalValues->setTickCount(11);
    TotalValues->setMinorTickCount(0);
    TotalValues->setLabelFormat(QStringLiteral("%d"));
    styleAxisLabels(TotalValues, font());
    TotalChart->addAxis(TotalCategories, Qt::AlignLeft);
    TotalChart->addAxis(TotalValues, Qt::AlignBottom);
    TotalSeries->attachAxis(TotalCategories);
    TotalSeries->attachAxis(TotalValues);

    TotalChartView = new QChartView(TotalChart, panel);
    TotalChartView->setObjectName(QStringLiteral("TotalChart"));
    TotalChartView->setFixedHeight(TotalChartHeight);
    TotalChartView->setFrameStyle(QFrame::Box | QFrame::Plain);
    TotalChartView->setLineWidth(1);
    TotalChartView->setRenderHint(QPainter::Antialiasing, false);
    TotalChartView->setFocusPolicy(Qt::NoFocus);
    col->addWidget(TotalChartView);

    TotalLabel = new QLabel(panel);
    TotalLabel->setTextFormat(Qt::PlainText);
    TotalLabel->setAlignment(Qt::AlignCenter);
    TotalLabel->setFixedHeight(ResultLineHeight);
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(10);
    TotalLabel->setFont(bold);
    col->addWidget(TotalLabel);

    static_cast<QVBoxLayout*>(layout())->addWidget(panel);
}

void TScoreForm::buildSectionChart()
{
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->installEventFilter(this);

    // The window's face, unless the black axis labels would not read on it.
    const QColor face = Contrast::behind(Qt::black, palette().color(QPalette::Window));
    Chart1 = new QChart();
    Chart1->legend()->hide();
    Chart1->setBackgroundBrush(face);
    Chart1->setBackgroundRoundness(0);
    Chart1->setBackgroundPen(Qt::NoPen);
    Chart1->layout()->setContentsMargins(0, 0, 0, 0);

    Chart1Series = new QHorizontalBarSeries();
    Chart1Series->setBarWidth(0.8);
    Chart1Series->setLabelsVisible(false);
    Chart1Bars = new QBarSet(QString());
    Chart1Bars->setColor(SectionRed);
    Chart1Bars->setBorderColor(SectionRed.darker(150));
    Chart1Series->append(Chart1Bars);
    Chart1->addSeries(Chart1Series);

    Chart1Categories = new QBarCategoryAxis();
    Chart1Categories->setGridLineVisible(false);
    QFont small = font();
    small.setPointSize(SectionLabelPoints);
    styleAxisLabels(Chart1Categories, small);
    Chart1Values = new QValueAxis();
    Chart1Values->setRange(0, 100);
    Chart1Values->setTickCount(11);
    Chart1Values->setMinorTickCount(0);
    Chart1Values->setLabelFormat(QStringLiteral("%d"));
    styleAxisLabels(Chart1Values, small);
    Chart1->addAxis(Chart1Categories, Qt::AlignLeft);
    Chart1->addAxis(Chart1Values, Qt::AlignBottom);
    Chart1Series->attachAxis(Chart1Categories);
    Chart1Series->attachAxis(Chart1Values);

    Chart1View = new QChartView(Chart1);
    Chart1View->setObjectName(QStringLiteral("Chart1"));
    Chart1View->setFrameShape(QFrame::NoFrame);
    Chart1View->setRenderHint(QPainter::Antialiasing, false);
    Chart1View->setFocusPolicy(Qt::NoFocus);
    Chart1View->setBackgroundBrush(face);

    // The section chart's title: blue italic, on white inside a frame, at the left.
    Chart1Title = new QLabel(QStringLiteral(" Sections "), Chart1View);
    Chart1Title->setTextFormat(Qt::PlainText);
    Chart1Title->setFrameStyle(QFrame::Box | QFrame::Plain);
    Chart1Title->setAutoFillBackground(true);
    QPalette tp = Chart1Title->palette();
    tp.setColor(QPalette::Window, Qt::white);
    tp.setColor(QPalette::WindowText, RequiredBlue);
    Chart1Title->setPalette(tp);
    QFont tf = font();
    tf.setItalic(true);
    tf.setBold(true);
    Chart1Title->setFont(tf);
    Chart1Title->adjustSize();
    Chart1Title->move(8, 4);
    Chart1->setMargins(QMargins(6, Chart1Title->height() + 2, 14, 0));

    ScrollBox1->setWidget(Chart1View);
    static_cast<QVBoxLayout*>(layout())->addWidget(ScrollBox1, 1);
}

void TScoreForm::buildButtons()
{
    auto* row = new QWidget(this);
    row->setFixedHeight(ButtonRowHeight);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(8, 6, 8, 6);
    h->setSpacing(8);
    BitBtn1 = new QPushButton(QStringLiteral("&View Answers"), row);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Print Report"), row);
    BitBtn2->setAutoDefault(false);
    BitBtn3 = new QPushButton(QStringLiteral("E&xit Exam"), row);
    BitBtn3->setAutoDefault(false);
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3})
        b->setMinimumWidth(110);
    h->addWidget(BitBtn1);
    h->addWidget(BitBtn2);
    h->addStretch(1);
    h->addWidget(BitBtn3);
    static_cast<QVBoxLayout*>(layout())->addWidget(row);

    connect(BitBtn1, &QPushButton::clicked, this, guarded(this, &TScoreForm::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, guarded(this, &TScoreForm::BitBtn2Click));
    connect(BitBtn3, &QPushButton::clicked, this, guarded(this, &TScoreForm::BitBtn3Click));
}

void TScoreForm::ShowResult(const GradeResult& result)
{
    m_result = result;
    FillTotal(result);
    FillSections(result);
}

void TScoreForm::FillTotal(const GradeResult& result)
{
    TotalBars->remove(0, TotalBars->count());
    TotalCategories->clear();
    // The category axis rises from the bottom: the first bar is the lowest.
    TotalBars->append(result.score);
    TotalBars->append(GradeResult::PassingScore);
    TotalCategories->append(QStringList{QStringLiteral("Your score"), QStringLiteral("Required score")});
    TotalBars->deselectAllBars();
    TotalBars->setBarSelected(1, true);
    TotalChart->setTitle(ChartText::rich(result.ScoreTitle));
    TotalLabel->setText(result.ResultLine);
}

void TScoreForm::FillSections(const GradeResult& result)
{
    Chart1Bars->remove(0, Chart1Bars->count());
    Chart1Categories->clear();
    const QFontMetrics fm(Chart1Categories->labelsFont());
    const auto width = [&fm](const QString& s) { return fm.horizontalAdvance(s); };
    QStringList labels;
    // Section 6 first, so that section 1 stands at the top.
    const std::vector<SectionTally> rows = result.shownSections();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        const SectionTally& t = *row;
        Chart1Bars->append(t.percent);
        labels << ChartText::wrap(t.label, SectionLabelWidth, width);
    }
    Chart1Categories->append(labels);
    fitSectionChart();
}

QStringList TScoreForm::categoryLabels(QBarCategoryAxis* axis)
{
    QStringList labels;
    for (const QString& c : axis->categories())
        labels << ChartText::plain(c);
    return labels;
}

// The section chart fills its container exactly: the six bars and the scale
// are all in view at once, as on the printout. When more rows come than
// the container has room for with their labels whole, the chart grows
// taller and the container scrolls.
void TScoreForm::fitSectionChart()
{
    // The container is made for six rows; each row past them gets a sixth of
    // the plot's height more.
    const int box = ScrollBox1->height();
    const int rows = int(Chart1Categories->count());
    const int scale = QFontMetrics(Chart1Values->labelsFont()).height() + 18;
    const int row = std::max(box - Chart1->margins().top() - scale, 60) / 6;
    const int needed = box + std::max(rows - 6, 0) * row;
    const bool scrolls = needed > box;
    ScrollBox1->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    const int bar = scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    Chart1View->resize(std::max(ScrollBox1->width() - bar, 100), needed);
}

bool TScoreForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ScrollBox1 && event->type() == QEvent::Resize)
        fitSectionChart();
    return QDialog::eventFilter(watched, event);
}

void TScoreForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    fitSectionChart();
}

void TScoreForm::reject()
{
    // Neither Esc nor the window manager's close ends the score window.
}

void TScoreForm::BitBtn1Click()
{
    m_choice = Choice::ViewAnswers;
    done(QDialog::Accepted);
}

void TScoreForm::BitBtn2Click()
{
    // The printout shows the grading the window shows; the window stays open.
    ScoreReport report;
    report.fill(m_result);
    ReportPainter::print(report.run(FontTextMeasurer()), this);
}

void TScoreForm::BitBtn3Click()
{
    if (Dialogs::message(this, Dialogs::Icon::Question,
                         QStringLiteral("Are you sure you wish to end this exam?"),
                         Dialogs::Yes | Dialogs::No, Dialogs::Yes, Dialogs::No) != Dialogs::Yes)
        return;
    m_choice = Choice::ExitExam;
    done(QDialog::Rejected);
}
