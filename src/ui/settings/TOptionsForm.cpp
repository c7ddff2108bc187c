#include "ui/settings/TOptionsForm.h"

#include "ui/settings/ClampingSpinBox.h"
#include "ui/settings/RadioGroup.h"
#include "ui/settings/StoredFont.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ErrorGuard.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int MinTime = 1;
constexpr int MaxTime = 9000;

enum Entry { QuestionEntry = 0, AnswersEntry = 1, ExplanationEntry = 2 };

ItemPart textOf(int row)
{
    switch (row) {
    case AnswersEntry:
        return ItemPart::Answers;
    case ExplanationEntry:
        return ItemPart::Explanation;
    default:
        return ItemPart::Question;
    }
}
} // namespace

TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    QFont face(QStringLiteral("MS Sans Serif"));
    face.setPointSize(10);
    setFont(face);

    // ---- fonts ----
    GroupBox1 = new QGroupBox(QStringLiteral("Fonts"), this);
    ListBox1 = new QListWidget(GroupBox1);
    ListBox1->addItems(
        {QStringLiteral("Question"), QStringLiteral("Answers"), QStringLiteral("Explanation")});
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setFixedWidth(110);
    ListBox1->setAccessibleName(QStringLiteral("Fonts"));
    Panel1 = new QLabel(GroupBox1);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);
    BitBtn3 = new QPushButton(QStringLiteral("Change Font"), GroupBox1);
    BitBtn3->setAutoDefault(false);
    // The colour of the selected font, beside its font.
    ColorButton = new QPushButton(QStringLiteral("Colour..."), GroupBox1);
    ColorButton->setAutoDefault(false);
    auto* fontButtons = new QHBoxLayout;
    fontButtons->setSpacing(4);
    fontButtons->addWidget(BitBtn3, 1);
    fontButtons->addWidget(ColorButton);
    auto* example = new QVBoxLayout;
    example->addWidget(Panel1, 1);
    example->addLayout(fontButtons);
    auto* fonts = new QHBoxLayout(GroupBox1);
    fonts->setContentsMargins(8, 6, 8, 8);
    fonts->addWidget(ListBox1);
    fonts->addLayout(example, 1);

    // ---- the three tabs ----
    PageControl1 = new QTabWidget(this);

    auto* learnTab = new QWidget;
    LearnBtnGroup = new RadioGroup(QStringLiteral("Learn Now Button"),
                                   {QStringLiteral("Show 'Learn Now' button (not recomended)"),
                                    QStringLiteral("Do not show 'Learn Now' button")},
                                   learnTab);
    auto* learnLayout = new QVBoxLayout(learnTab);
    learnLayout->setContentsMargins(6, 6, 6, 6);
    learnLayout->addWidget(LearnBtnGroup);
    learnLayout->addStretch(1);
    PageControl1->addTab(learnTab, QStringLiteral("'Learn Now' button"));

    auto* calcTab = new QWidget;
    CalcBtnGroup = new RadioGroup(
        QStringLiteral("Calculator Button"),
        {QStringLiteral("Show calculator button"), QStringLiteral("Do not show calculator button")}, calcTab);
    Label1 = new QLabel(QStringLiteral("Calculator path:"), calcTab);
    Edit1 = new QLineEdit(calcTab);
    SpeedButton1 = new QToolButton(calcTab);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setToolTip(QStringLiteral("Browse"));
    SpeedButton1->setAccessibleName(QStringLiteral("Browse"));
    Label1->setBuddy(Edit1);
    auto* pathRow = new QHBoxLayout;
    pathRow->setSpacing(2);
    pathRow->addWidget(Edit1, 1);
    pathRow->addWidget(SpeedButton1);
    auto* calcLayout = new QVBoxLayout(calcTab);
    calcLayout->setContentsMargins(6, 6, 6, 6);
    calcLayout->addWidget(CalcBtnGroup);
    calcLayout->addWidget(Label1);
    calcLayout->addLayout(pathRow);
    calcLayout->addStretch(1);
    PageControl1->addTab(calcTab, QStringLiteral("Calculator"));

    auto* timerTab = new QWidget;
    TimerGroup = new RadioGroup(QStringLiteral("Timer"),
                                {QStringLiteral("Timer On"), QStringLiteral("Timer Off")}, timerTab);
    Label2 = new QLabel(QStringLiteral("Deafault Time (min):"), timerTab);
    SpinEdit1 = new ClampingSpinBox(timerTab);
    SpinEdit1->setRange(MinTime, MaxTime);
    SpinEdit1->setValue(90);
    SpinEdit1->setFixedWidth(90);
    Label2->setBuddy(SpinEdit1);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(Label2);
    timeRow->addWidget(SpinEdit1);
    timeRow->addStretch(1);
    auto* timerLayout = new QVBoxLayout(timerTab);
    timerLayout->setContentsMargins(6, 6, 6, 6);
    timerLayout->addWidget(TimerGroup);
    timerLayout->addLayout(timeRow);
    timerLayout->addStretch(1);
    PageControl1->addTab(timerTab, QStringLiteral("Timer"));

    // ---- OK ----
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    BitBtn1->setMinimumWidth(88);
    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    okRow->addWidget(BitBtn1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(GroupBox1);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(okRow);
    setFixedSize(333, 354);

    connect(ListBox1, &QListWidget::currentRowChanged, this, guarded(this, &TOptionsForm::ListBox1Click));
    connect(BitBtn3, &QPushButton::clicked, this, guarded(this, &TOptionsForm::BitBtn3Click));
    connect(ColorButton, &QPushButton::clicked, this, guarded(this, &TOptionsForm::ColorButtonClick));
    connect(LearnBtnGroup, &RadioGroup::clicked, this, guarded(this, &TOptionsForm::LearnBtnGroupClick));
    connect(TimerGroup, &RadioGroup::clicked, this, guarded(this, &TOptionsForm::TimerGroupClick));
    connect(CalcBtnGroup, &RadioGroup::clicked, this, guarded(this, &TOptionsForm::CalcBtnGroupClick));
    connect(SpeedButton1, &QToolButton::clicked, this, guarded(this, &TOptionsForm::SpeedButton1Click));
    // OK applies what it can and closes in any case, even when the
    // calculator button refused the new path.
    connect(BitBtn1, &QPushButton::clicked, this, guarded(this, &TOptionsForm::BitBtn1Click));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    nameControls({{GroupBox1, "GroupBox1"},
                  {ListBox1, "ListBox1"},
                  {Panel1, "Panel1"},
                  {BitBtn3, "BitBtn3"},
                  {ColorButton, "ColorButton"},
                  {PageControl1, "PageControl1"},
                  {LearnBtnGroup, "LearnBtnGroup"},
                  {CalcBtnGroup, "CalcBtnGroup"},
                  {TimerGroup, "TimerGroup"},
                  {Label1, "Label1"},
                  {Edit1, "Edit1"},
                  {SpeedButton1, "SpeedButton1"},
                  {Label2, "Label2"},
                  {SpinEdit1, "SpinEdit1"},
                  {BitBtn1, "BitBtn1"}});
}

void TOptionsForm::Prepare(const ExamOptions& options, const ItemAppearance& appearance)
{
    PageControl1->setCurrentIndex(0);
    m_options = options;
    m_appearance = appearance;
    PendingDefaultTime = options.DefaultTime;
    PendingCalcPath = options.CalcPath;
    SpinEdit1->setValue(options.DefaultTime); // brought into 1 to 9000
    Edit1->setText(options.CalcPath);
    // Choosing an entry raises the group's click, so the pending choices follow.
    LearnBtnGroup->setItemIndex(options.ShowLearnBtn ? 0 : 1);
    TimerGroup->setItemIndex(options.TimerOn ? 0 : 1);
    CalcBtnGroup->setItemIndex(options.ShowCalcBtn ? 0 : 1);
}

ExamOptions TOptionsForm::chosenOptions() const
{
    ExamOptions chosen = m_options;
    chosen.ShowLearnBtn = PendingLearnBtn;
    chosen.TimerOn = PendingTimerOn;
    chosen.ShowCalcBtn = PendingCalcBtn;
    chosen.DefaultTime = PendingDefaultTime;
    chosen.CalcPath = PendingCalcPath;
    return chosen;
}

void TOptionsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TOptionsForm::FormActivate()
{
    // Every opening starts from "Question".
    ListBox1->setCurrentRow(QuestionEntry);
    ListBox1Click();
}

QFont TOptionsForm::entryFont(int row) const
{
    return m_appearance.font(textOf(row));
}

QColor TOptionsForm::entryColor(int row) const
{
    return m_appearance.color(textOf(row));
}

void TOptionsForm::setEntryFont(int row, const QFont& font)
{
    m_appearance.setFont(textOf(row), font);
    emit fontChosen(textOf(row), font);
}

void TOptionsForm::ListBox1Click()
{
    const int row = qMax(ListBox1->currentRow(), 0);
    Panel1->setText(ListBox1->item(row)->text());
    Panel1->setFont(entryFont(row));
    QPalette p = Panel1->palette();
    p.setColor(QPalette::WindowText, entryColor(row));
    Panel1->setPalette(p);
}

void TOptionsForm::BitBtn3Click()
{
    bool ok = false;
    // A face that is not installed is offered as the one shown in its place,
    // with its styles; taken back unchanged, the font stays as it was.
    const QFont offered = StoredFont::installedFace(Panel1->font());
    const QFont chosen = Dialogs::getFont(&ok, offered, this);
    // The chosen font goes straight into the exam window: it stays for the
    // run even if the dialog is then closed without OK.
    if (ok && !StoredFont::sameChoice(chosen, offered))
        setEntryFont(qMax(ListBox1->currentRow(), 0), chosen);
    ListBox1Click();
}

void TOptionsForm::ColorButtonClick()
{
    const int row = qMax(ListBox1->currentRow(), 0);
    const QColor chosen = Dialogs::getColor(entryColor(row), this);
    // Like a font, the colour goes straight into the exam window.
    if (chosen.isValid())
        setEntryColor(row, chosen);
    ListBox1Click();
}

void TOptionsForm::setEntryColor(int row, const QColor& color)
{
    m_appearance.setColor(textOf(row), color);
    emit colorChosen(textOf(row), color);
}

void TOptionsForm::LearnBtnGroupClick()
{
    PendingLearnBtn = LearnBtnGroup->itemIndex() == 0;
}

void TOptionsForm::TimerGroupClick()
{
    PendingTimerOn = TimerGroup->itemIndex() == 0;
}

void TOptionsForm::CalcBtnGroupClick()
{
    PendingCalcBtn = CalcBtnGroup->itemIndex() == 0;
}

void TOptionsForm::SpeedButton1Click()
{
    // Linux programs have no extension, hence the second filter.
    const QString file = Dialogs::getOpenFileName(this, QString(), QString(),
                                                  QStringLiteral("Executable file (*.exe);;All files (*)"));
    if (!file.isEmpty())
        Edit1->setText(file);
}

int TOptionsForm::TimeFieldValue() const
{
    return SpinEdit1->textValue();
}

void TOptionsForm::BitBtn1Click()
{
    PendingDefaultTime = TimeFieldValue();
    PendingCalcPath = Edit1->text();
}
