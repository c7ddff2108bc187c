#include "TTestForm.h"

#include "ChoiceRadio.h"
#include "ExamAssembly.h"
#include "ItemView.h"
#include "RandomSource.h"
#include "TKZTimeCounter.h"
#include "TPict1Form.h"
#include "TPict2Form.h"
#include "TProgressForm.h"
#include "TddgRunButton.h"
#include "TimeText.h"
#include "app/TAboutForm.h"
#include "app/TMainForm.h"
#include "app/TNameForm.h"
#include "grading/ExamReport.h"
#include "grading/ItemReport.h"
#include "grading/TScoreForm.h"
#include "history/HistoryCsv.h"
#include "history/ScoreHistory.h"
#include "history/THistoryForm.h"
#include "reports/FontTextMeasurer.h"
#include "reports/ReportPainter.h"
#include "reports/SuspendedCursor.h"
#include "review/TNoteForm.h"
#include "review/TReviewForm.h"
#include "settings/SettingsStore.h"
#include "settings/StoredFont.h"
#include "settings/TOptionsForm.h"
#include "store/ItemRecord.h"
#include "store/ProgramFolder.h"
#include "store/TableFiles.h"
#include "tables/Session.h"
#include "tables/Table.h"
#include "tables/TableError.h"
#include "widgets/Dialogs.h"
#include "widgets/ErrorGuard.h"
#include "widgets/ShadedButton.h"
#include "widgets/ShadedLabel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

TTestForm* TestForm = nullptr;

namespace {
// A light strip: the verdict "Correct" in blue and "Review items" in navy
// need a contrast of 4.5:1 or more, so the header's other texts are dark.
const QColor HeaderColor(220, 230, 246);
const QColor HeaderText(0, 0, 128);
const QColor HeaderShadow(255, 255, 255, 180);

QFont verdana13(bool bold)
{
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(13);
    f.setBold(bold);
    return f;
}

void setTextColor(QWidget* w, const QColor& color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::ButtonText, color);
    p.setColor(QPalette::Text, color);
    w->setPalette(p);
}

// Keeps the progress window up for the length of one assembly.
class ProgressShown
{
public:
    explicit ProgressShown(int maximum)
    {
        if (!ProgressForm)
            return;
        ProgressForm->ProgressBar1->setMaximum(qMax(maximum, 1));
        ProgressForm->ProgressBar1->setValue(0);
        ProgressForm->show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_clock.start();
    }
    ~ProgressShown()
    {
        if (!ProgressForm)
            return;
        ProgressForm->finish();
    }
    void position(int i)
    {
        if (!ProgressForm)
            return;
        ProgressForm->ProgressBar1->setValue(i);
        // Repaint a few times a second, without taking the candidate's input.
        if (m_clock.elapsed() > 50) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            m_clock.restart();
        }
    }

private:
    QElapsedTimer m_clock;
};
} // namespace

// ---- creation ------------------------------------------------------------------

TTestForm::TTestForm(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildMenu();
    layout->setMenuBar(MainMenu);
    buildHeader();
    layout->addWidget(Panel1);
    Panel3 = new QWidget(this);
    Panel3->setAutoFillBackground(true);
    QPalette white = Panel3->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel3->setPalette(white);
    auto* middle = new QVBoxLayout(Panel3);
    middle->setContentsMargins(1, 1, 1, 1);
    middle->setSpacing(0);
    buildItemArea();
    buildStartPage();
    middle->addWidget(ScrollBox1);
    middle->addWidget(Panel4);
    layout->addWidget(Panel3, 1);
    buildButtonBar();
    layout->addWidget(Panel2);
    buildHistoryControls();

    Timer1 = new TKZTimeCounter(this);
    connect(Timer1, &QTimer::timeout, this, guarded(this, &TTestForm::Timer1Timer));

    setMinimumSize(732, 502);
    setSizeGripEnabled(false);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    FormCreate();
}

TTestForm::~TTestForm()
{
    if (TestForm == this)
        TestForm = nullptr;
}

void TTestForm::FormCreate()
{
    // Time texts here carry no day-half marker at all (TimeText), so there
    // are no AM/PM designators to blank out.
    session = std::make_unique<Session>(TableFiles::SessionName);
    session->registerPassword(TableFiles::Password);
    dtQSet = new Table(TableFiles::SessionName, TableFiles::Bank, this);
    dtCurrentSet = new Table(TableFiles::SessionName, TableFiles::CurrentSet, this);
    dtUserSet = new Table(TableFiles::SessionName, TableFiles::UserSet, this);
    dsCurrentSet = dtCurrentSet->dataSource();
    connect(dsCurrentSet, &DataSource::dataChanged, this, guarded(this, &TTestForm::dsCurrentSetDataChange));

    setWindowState(Qt::WindowMaximized);
    setWindowTitle(QStringLiteral("Velarix 2.0"));
    examMode = ExamMode::Idle;
    // There is no Windows folder: calculators live with the system's programs.
    WindowsDir = QStringLiteral("/usr/bin");
    if (settingsPath.isEmpty())
        settingsPath = SettingsStore::defaultPath();
    LoadSettings();
    LearnButton->setVisible(Options.ShowLearnBtn);
    SetupCalcButton();
}

void TTestForm::buildMenu()
{
    MainMenu = new QMenuBar(this);
    N11 = MainMenu->addMenu(QStringLiteral("&File"));
    Options1 = N11->addAction(QStringLiteral("&Options..."));
    Print2 = N11->addAction(QStringLiteral("Print all items in this exam"));
    Print1 = N11->addAction(QStringLiteral("&Print this item"));
    N11->addSeparator();
    Exit1 = N11->addAction(QStringLiteral("E&xit"));
    Print1->setEnabled(false);
    Print2->setEnabled(false);
    connect(Options1, &QAction::triggered, this, guarded(this, &TTestForm::Options1Click));
    connect(Print1, &QAction::triggered, this, guarded(this, &TTestForm::Print1Click));
    connect(Print2, &QAction::triggered, this, guarded(this, &TTestForm::Print2Click));
    connect(Exit1, &QAction::triggered, this, guarded(this, &TTestForm::Exit1Click));

    N21 = MainMenu->addMenu(QStringLiteral("Exa&ms"));
    auto makeAction = [this](const QString& text, void (TTestForm::*handler)()) {
        auto* action = new QAction(text, this);
        connect(action, &QAction::triggered, this, guarded(this, handler));
        return action;
    };
    Action1 = makeAction(QStringLiteral("Practice Exam &A"), &TTestForm::Action1Execute);
    Action2 = makeAction(QStringLiteral("Practice Exam &B"), &TTestForm::Action2Execute);
    Action3 = makeAction(QStringLiteral("Practice Exam &C"), &TTestForm::Action3Execute);
    Action4 = makeAction(QStringLiteral("Practice Exam &D"), &TTestForm::Action4Execute);
    Action5 = makeAction(QStringLiteral("Practice Exam &E"), &TTestForm::Action5Execute);
    AllQAct = makeAction(QStringLiteral("&Take All &Questions"), &TTestForm::AllQActExecute);
    RandAct = makeAction(QStringLiteral("&Random Exam"), &TTestForm::RandActExecute);
    UserAct = makeAction(QStringLiteral("&User Exam"), &TTestForm::UserActExecute);
    N21->addActions({Action1, Action2, Action3, Action4, Action5});
    N21->addSeparator();
    N21->addActions({AllQAct, RandAct, UserAct});

    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] { MainMenu->setActiveAction(N11->menuAction()); });

    Help1 = MainMenu->addMenu(QStringLiteral("&Help"));
    About1 = Help1->addAction(QStringLiteral("Ab&out"));
    connect(About1, &QAction::triggered, this, guarded(this, &TTestForm::About1Click));
}

void TTestForm::buildHeader()
{
    Panel1 = new QFrame(this);
    Panel1->setFixedHeight(45);
    Panel1->setAutoFillBackground(true);
    QPalette p = Panel1->palette();
    p.setColor(QPalette::Window, HeaderColor);
    Panel1->setPalette(p);

    fcLabel1 = new ShadedLabel(QStringLiteral("Velarix 2.0"), Panel1);
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(30);
    title.setBold(true);
    title.setItalic(true);
    fcLabel1->setFont(title);
    fcLabel1->setTextColor(Qt::white);
    fcLabel1->setOutline(QColor(20, 40, 90), 1.5);
    fcLabel1->setShadow(QColor(0, 0, 0, 140), 2);
    fcLabel1->setAlignment(Qt::AlignCenter);

    Label1 = new ShadedLabel(QString(), Panel1);
    Label1->setFont(verdana13(true));
    Label1->setTextColor(HeaderText);
    Label1->setShadow(HeaderShadow, 1);
    Label1->move(4, 4);

    Label2 = new QLabel(Panel1);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setFont(verdana13(false));
    setTextColor(Label2, Qt::black);
    Label2->move(124, 4);

    Label3 = new QLabel(Panel1);
    Label3->setTextFormat(Qt::PlainText);
    Label3->setFont(verdana13(true));
    setTextColor(Label3, QColor(96, 96, 96));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    MarkBox = new QCheckBox(QStringLiteral("&Mark this item"), Panel1);
    MarkBox->setFont(verdana13(true));
    setTextColor(MarkBox, Qt::black);
    MarkBox->move(4, 24);
    MarkBox->adjustSize();
    connect(MarkBox, &QCheckBox::toggled, this, guarded(this, &TTestForm::MarkBoxClick));

    CorrectLabel = new ShadedLabel(QString(), Panel1);
    CorrectLabel->setFont(verdana13(true));
    CorrectLabel->setShadow(QColor(255, 255, 255, 120), 1);
    CorrectLabel->move(4, 24);

    TimeLabel = new ShadedLabel(QString(), Panel1);
    TimeLabel->setFont(verdana13(true));
    TimeLabel->setTextColor(HeaderText);
    TimeLabel->setShadow(HeaderShadow, 1);
    TimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    ReviewLabel = new QLabel(QStringLiteral("Review items"), Panel1);
    ReviewLabel->setFont(verdana13(true));
    setTextColor(ReviewLabel, QColor(0, 0, 128));
    ReviewLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, Label3, MarkBox, CorrectLabel,
                                                      TimeLabel, ReviewLabel})
        w->hide();
}

void TTestForm::buildItemArea()
{
    ScrollBox1 = new ItemView(Panel3);
    ItemArea = ScrollBox1->ItemArea;
    QPanel = ScrollBox1->QPanel;
    QText = ScrollBox1->QText;
    Shape1 = ScrollBox1->Shape1;
    ExhBtnA = ScrollBox1->ExhBtnA;
    ExhBtnB = ScrollBox1->ExhBtnB;
    CalcButton = ScrollBox1->CalcButton;
    RadioButton = ScrollBox1->RadioButton;
    CheckBox = ScrollBox1->CheckBox;
    ALabel = ScrollBox1->ALabel;
    ExpText = ScrollBox1->ExpText;
    connect(ExhBtnA, &QPushButton::clicked, this, guarded(this, &TTestForm::ExhBtnAClick));
    connect(ExhBtnB, &QPushButton::clicked, this, guarded(this, &TTestForm::ExhBtnBClick));
    connect(ScrollBox1, &ItemView::radioChecked, this, guarded(this, &TTestForm::RadioButton1Click));
    connect(ScrollBox1, &ItemView::checkBoxToggled, this, guarded(this, &TTestForm::CheckBoxClick));
    connect(ScrollBox1, &ItemView::labelClicked, this, guarded(this, &TTestForm::ALabelClick));
}

void TTestForm::buildStartPage()
{
    Panel4 = new QWidget(Panel3);
    Panel4->setAutoFillBackground(true);
    QPalette white = Panel4->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel4->setPalette(white);

    auto makeTitle = [this](const QString& text, int pixels) {
        auto* label = new ShadedLabel(text, Panel4);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(pixels);
        f.setBold(true);
        f.setItalic(true);
        label->setFont(f);
        label->setTextColor(QColor(40, 80, 170));
        label->setOutline(QColor(10, 25, 80), 0.8);
        label->setShadow(QColor(0, 0, 0, 70), 2);
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    ExamCodeLabel = makeTitle(QStringLiteral("Exam VLX-210"), 30);
    ExamNameLabel = makeTitle(QStringLiteral("Administering Linux Servers"), 30);
    auto* prompt = new QLabel(QStringLiteral("Please select the practice exam you want to begin."), Panel4);
    prompt->setObjectName(QStringLiteral("PromptLabel"));
    QFont promptFont(QStringLiteral("Verdana"));
    promptFont.setPixelSize(15);
    prompt->setFont(promptFont);
    prompt->setAlignment(Qt::AlignCenter);

    const QColor purple(128, 0, 128), navy(0, 0, 128);
    static const char* const letters[] = {"&A", "&B", "&C", "&D", "&E"};
    QAction* actions[] = {Action1, Action2, Action3, Action4, Action5};
    for (int i = 0; i < 5; ++i) {
        fcShapeBtn[i] = new ShadedButton(QString::fromLatin1(letters[i]), purple, Panel4);
        fcShapeBtn[i]->setFixedSize(30, 30);
        connect(fcShapeBtn[i], &QPushButton::clicked, actions[i], &QAction::trigger);
    }
    AllQBtn = new ShadedButton(QStringLiteral("All &Questions"), navy, Panel4);
    RandomBtn = new ShadedButton(QStringLiteral("&Random Exam"), navy, Panel4);
    UserBtn = new ShadedButton(QStringLiteral("&User Exam"), navy, Panel4);
    for (ShadedButton* b : {AllQBtn, RandomBtn, UserBtn})
        b->setFixedSize(109, 30);
    connect(AllQBtn, &QPushButton::clicked, AllQAct, &QAction::trigger);
    connect(RandomBtn, &QPushButton::clicked, RandAct, &QAction::trigger);
    connect(UserBtn, &QPushButton::clicked, UserAct, &QAction::trigger);
    CenterExamButtons();
}

void TTestForm::buildButtonBar()
{
    Panel2 = new QFrame(this);
    Panel2->setFixedHeight(41);
    Panel2->setFrameShape(QFrame::StyledPanel);
    auto* bar = new QHBoxLayout(Panel2);
    bar->setContentsMargins(6, 6, 6, 6);
    bar->setSpacing(6);
    auto makeButton = [this, bar](const QString& text, void (TTestForm::*handler)()) {
        auto* b = new QPushButton(text, Panel2);
        b->setAutoDefault(false);
        b->setMinimumWidth(100);
        connect(b, &QPushButton::clicked, this, guarded(this, handler));
        bar->addWidget(b);
        return b;
    };
    PrevButton = makeButton(QStringLiteral("&< Previous Item"), &TTestForm::PrevButtonClick);
    NextButton = makeButton(QStringLiteral("Next Item &>"), &TTestForm::NextButtonClick);
    LearnButton = makeButton(QStringLiteral("&Learn Now"), &TTestForm::LearnButtonClick);
    Button1 = makeButton(QStringLiteral("Items &Review"), &TTestForm::Button1Click);
    NoteButton = makeButton(QStringLiteral("&Note"), &TTestForm::NoteButtonClick);
    bar->addStretch(1);
    GradeButton = makeButton(QStringLiteral("&Grade Now"), &TTestForm::GradeButtonClick);
    Button3 = makeButton(QStringLiteral("E&xit Exam"), &TTestForm::Button3Click);
    Panel2->hide();
}

// ---- fonts ----------------------------------------------------------------------

QFont TTestForm::QuestionFont() const
{
    return ScrollBox1->questionFont();
}

QFont TTestForm::AnswersFont() const
{
    return ScrollBox1->answersFont();
}

QFont TTestForm::ExplanationFont() const
{
    return ScrollBox1->explanationFont();
}

void TTestForm::setQuestionFont(const QFont& font)
{
    ScrollBox1->setQuestionFont(font);
}

void TTestForm::setAnswersFont(const QFont& font)
{
    ScrollBox1->setAnswersFont(font);
}

void TTestForm::setExplanationFont(const QFont& font)
{
    ScrollBox1->setExplanationFont(font);
}

QColor TTestForm::QuestionColor() const
{
    return ScrollBox1->questionColor();
}

QColor TTestForm::AnswersColor() const
{
    return ScrollBox1->answersColor();
}

QColor TTestForm::ExplanationColor() const
{
    return ScrollBox1->explanationColor();
}

void TTestForm::setQuestionColor(const QColor& color)
{
    ScrollBox1->setQuestionColor(color);
}

void TTestForm::setAnswersColor(const QColor& color)
{
    ScrollBox1->setAnswersColor(color);
}

void TTestForm::setExplanationColor(const QColor& color)
{
    ScrollBox1->setExplanationColor(color);
}

// ---- exam kinds -------------------------------------------------------------------

void TTestForm::PrepareNameDialog(bool numberEnabled)
{
    dtQSet->open();
    dtQSet->setFilter(QStringLiteral("Q_EXAM_N<>0"));
    dtQSet->setFiltered(true);
    const int m = dtQSet->recordCount();
    m_available = m;
    NameForm->SpinEdit2->setRange(1, qMax(m, 1));
    NameForm->SpinEdit2->setValue(m);
    dtQSet->close();
    NameForm->setNumberEnabled(numberEnabled);
}

void TTestForm::noItemsAvailable(const QString& title)
{
    // An exam kind without any item opens no empty exam.
    Dialogs::message(this, Dialogs::Icon::Information,
                     QStringLiteral("There are no questions available for %1.").arg(title), Dialogs::Ok,
                     Dialogs::Ok, Dialogs::Ok);
}

void TTestForm::startBankExam(const QString& caption, const QString& title, const QString& filter)
{
    ProgramFolder::requireWritable();
    PrepareNameDialog(false);
    NameForm->setWindowTitle(caption);
    ExamTitle = title;
    dtQSet->setFilter(filter);
    dtQSet->setFiltered(true);
    dtQSet->open();
    const int available = dtQSet->recordCount();
    dtQSet->close();
    if (available == 0) {
        noItemsAvailable(title);
        return;
    }
    StartExam(&TTestForm::CopyBankShuffled);
}

void TTestForm::startPracticeExam(int exam)
{
    const QString letter(QChar('A' + exam - 1));
    startBankExam(QStringLiteral("Begin Practice Exam ") + letter, QStringLiteral("Practice Exam ") + letter,
                  QStringLiteral("Q_EXAM_N=%1").arg(exam));
}

void TTestForm::Action1Execute()
{
    startPracticeExam(1);
}

void TTestForm::Action2Execute()
{
    startPracticeExam(2);
}

void TTestForm::Action3Execute()
{
    startPracticeExam(3);
}

void TTestForm::Action4Execute()
{
    startPracticeExam(4);
}

void TTestForm::Action5Execute()
{
    startPracticeExam(5);
}

void TTestForm::AllQActExecute()
{
    startBankExam(QStringLiteral("Take All Questions"), QStringLiteral("All Questions"),
                  QStringLiteral("Q_EXAM_N<>0"));
}

void TTestForm::RandActExecute()
{
    ProgramFolder::requireWritable();
    NameForm->setWindowTitle(QStringLiteral("Random Exam"));
    PrepareNameDialog(true);
    ExamTitle = QStringLiteral("Random Exam");
    dtQSet->setFilter(QStringLiteral("Q_EXAM_N<>0"));
    if (m_available == 0) {
        noItemsAvailable(ExamTitle);
        return;
    }
    StartExam(&TTestForm::CopyBankRandomSelection);
}

void TTestForm::UserActExecute()
{
    ProgramFolder::requireWritable();
    dtUserSet->open();
    if (dtUserSet->isEmpty()) {
        dtUserSet->close();
        Dialogs::message(this, Dialogs::Icon::Information,
                         QStringLiteral("User defined question set is empty!"), Dialogs::Ok, Dialogs::Ok,
                         Dialogs::Ok);
        return;
    }
    PrepareNameDialog(false);
    NameForm->setWindowTitle(QStringLiteral("User Exam"));
    ExamTitle = QStringLiteral("User Exam");
    StartUserExam();
}

// ---- exam start ---------------------------------------------------------------------

void TTestForm::StartExam(void (TTestForm::*assembly)())
{
    runStartSequence(assembly, *dtQSet, false);
}

void TTestForm::StartUserExam()
{
    runStartSequence(&TTestForm::CopyUserSetShuffled, *dtUserSet, true);
}

void TTestForm::runStartSequence(void (TTestForm::*assembly)(), Table& source, bool userExam)
{
    NameForm->SpinEdit1->setValue(Options.DefaultTime);
    if (Dialogs::execModal(NameForm) != QDialog::Accepted)
        return;
    Label3->setText(ExamTitle);
    alignHeader();
    examMode = ExamMode::Idle;
    // A bank exam reads the bank under the exam's filter; a user exam the
    // user set, with the bank left closed.
    if (!userExam)
        source.setFiltered(true);
    source.open();
    (this->*assembly)();
    Sheet.InitAnswerSheet(*dtCurrentSet);
    examMode = ExamMode::Testing;
    ExamControls();
    if (userExam)
        NoteButton->hide(); // no notes on the candidate's own items
    dtCurrentSet->first();
    StartClock();
}

void TTestForm::assemble(Table& source, ExamAssembly::Source kind, int count)
{
    const std::vector<std::int32_t> keys = ExamAssembly::collectKeys(source);
    RandomSource random(SeedSource ? SeedSource() : RandomSource::seedFromClock());
    const std::vector<std::int32_t> chosen =
        ExamAssembly::choose(keys, count < 0 ? int(keys.size()) : count, random);
    fillCurrentSet({ExamAssembly::Batch{&source, kind, chosen}});
}

void TTestForm::fillCurrentSet(const std::vector<ExamAssembly::Batch>& batches)
{
    {
        int count = 0;
        for (const ExamAssembly::Batch& batch : batches)
            count += int(batch.keys.size());
        ProgressShown progress(count);
        ExamAssembly::openCurrentSet(*dtCurrentSet);
        ExamAssembly::replaceItems(*dtCurrentSet, batches, [&progress](int i) { progress.position(i); });
    }
    dtCurrentSet->first();
    FirstRecNo = dtCurrentSet->recNo();
    ItemCount = dtCurrentSet->recordCount();
}

void TTestForm::CopyBankShuffled()
{
    assemble(*dtQSet, ExamAssembly::Source::Bank, -1);
}

void TTestForm::CopyBankRandomSelection()
{
    assemble(*dtQSet, ExamAssembly::Source::Bank, NameForm->SpinEdit2->value());
}

void TTestForm::CopyUserSetShuffled()
{
    assemble(*dtUserSet, ExamAssembly::Source::UserSet, -1);
}

// ---- control arrangements ---------------------------------------------------------------

void TTestForm::ExamControls()
{
    Panel4->hide();
    ScrollBox1->show();
    ScrollBox1->setEnabled(true);
    Panel2->show();
    fcLabel1->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, MarkBox, Label3, TimeLabel})
        w->show();
    ReviewLabel->hide();
    CorrectLabel->hide();
    GradeButton->setText(QStringLiteral("&Grade Now"));
    // The item's accelerators win while an exam is open: Alt+M marks and
    // Alt+F ticks choice f. The menus stay reachable by F10 and the mouse.
    N11->setTitle(QStringLiteral("File"));
    N21->setTitle(QStringLiteral("Exams"));
    N21->setEnabled(false);
    N21->menuAction()->setEnabled(false);
    Print1->setEnabled(true);
    Print2->setEnabled(true);
    LearnButton->setEnabled(true);
}

void TTestForm::ReviewControls()
{
    MarkBox->hide();
    TimeLabel->hide();
    LearnButton->setEnabled(false);
    CorrectLabel->show();
    ReviewLabel->show();
}

void TTestForm::CloseCurrentExam()
{
    examMode = ExamMode::Idle;
    dtQSet->setFilter(QString());
    dtQSet->setFiltered(false);
    dtQSet->close();
    dtCurrentSet->close();
    dtUserSet->close();
    Panel2->hide();
    fcLabel1->show();
    N11->setTitle(QStringLiteral("&File"));
    N21->setTitle(QStringLiteral("Exa&ms"));
    N21->setEnabled(true);
    N21->menuAction()->setEnabled(true);
    for (QWidget* w :
         std::initializer_list<QWidget*>{Label1, Label2, CorrectLabel, MarkBox, Label3, TimeLabel})
        w->hide();
    Timer1->setEnabled(false);
    ReviewLabel->hide();
    Print1->setEnabled(false);
    Print2->setEnabled(false);
    ScrollBox1->hide();
    Panel4->show();
    NoteButton->show();
    CenterExamButtons();
}

// ---- the item display ----------------------------------------------------------------------

AnswerEntry& TTestForm::currentEntry()
{
    return Sheet.entry(dtCurrentSet->recNo());
}

void TTestForm::dsCurrentSetDataChange(const QString& fieldName)
{
    Q_UNUSED(fieldName);
    if (examMode == ExamMode::Idle || (NoteForm && NoteForm->isVisible()))
        return;
    const int r = dtCurrentSet->recNo();
    PrevButton->setEnabled(r != FirstRecNo);
    NextButton->setEnabled(r != ItemCount);
    Label1->setText(QStringLiteral("Item %1 of %2").arg(r).arg(ItemCount));
    Label2->setText(
        QStringLiteral("Item ID: %1").arg(dtCurrentSet->fieldByName(ItemRecord::Q_OR_NUMBER).asInteger()));
    alignHeader();
    ShowItem();
    ShowVerdict();
}

namespace {
std::array<bool, 6> correctChoices(Table& t)
{
    std::array<bool, 6> correct{};
    for (int k = 0; k < 6; ++k)
        correct[k] = t.fieldByName(ItemRecord::choiceFlag(k + 1)).asBoolean();
    return correct;
}
} // namespace

void TTestForm::ShowItem()
{
    using namespace ItemRecord;
    Table& t = *dtCurrentSet;
    ItemView::Item item;
    item.multiple = t.fieldByName(Q_TYPE).asBoolean();
    item.question = t.fieldByName(Q_TEXT).asString();
    for (int k = 0; k < 6; ++k)
        item.choices[k] = t.fieldByName(choiceText(k + 1)).asString();
    item.exhibit1 = !t.fieldByName(PICT1).asString().isEmpty();
    item.exhibit2 = !t.fieldByName(PICT2).asString().isEmpty();
    item.explanation = t.fieldByName(Q_EXPL).asString();
    ScrollBox1->display(item, QSize(Panel3->width() - 2, Panel3->height() - 2));
    RestoreAnswers();
    ScrollBox1->show();
}

void TTestForm::ShowVerdict()
{
    if (examMode == ExamMode::Reviewing || examMode == ExamMode::Testing)
        ScrollBox1->showAnswers(examMode == ExamMode::Reviewing, correctChoices(*dtCurrentSet));
    if (currentEntry().Correct) {
        CorrectLabel->setText(QStringLiteral("Correct"));
        CorrectLabel->setTextColor(QColor(0, 0, 255));
    } else {
        CorrectLabel->setText(QStringLiteral("Incorrect"));
        CorrectLabel->setTextColor(QColor(255, 0, 0));
    }
    CorrectLabel->adjustSize();
    CorrectLabel->setVisible(examMode == ExamMode::Reviewing);
}

void TTestForm::RestoreAnswers()
{
    const bool multiple = dtCurrentSet->fieldByName(ItemRecord::Q_TYPE).asBoolean();
    // Copied first: the handlers that the restore runs write into the entry.
    const AnswerEntry stored = currentEntry();
    for (int k = 0; k < 6; ++k) {
        if (multiple)
            CheckBox[k]->setChecked(stored.Choice[k] != 0);
        else
            RadioButton[k]->setChoiceChecked(stored.Choice[k] != 0);
    }
    MarkBox->setChecked(stored.Marked != 0);
}

// ---- answering -----------------------------------------------------------------------------

void TTestForm::RadioButton1Click()
{
    if (examMode == ExamMode::Testing) {
        AnswerEntry& e = currentEntry();
        for (int k = 0; k < 6; ++k)
            e.Choice[k] = RadioButton[k]->isChecked() ? 1 : 0;
        AnswerSheet::UpdateVerdict(e, AnswerSheet::correctFlagsOf(*dtCurrentSet));
    } else if (examMode == ExamMode::Reviewing) {
        const AnswerEntry stored = currentEntry();
        for (int k = 0; k < 6; ++k)
            RadioButton[k]->setChoiceChecked(stored.Choice[k] != 0);
    }
}

void TTestForm::CheckBoxClick(int k)
{
    if (examMode == ExamMode::Testing) {
        AnswerEntry& e = currentEntry();
        e.Choice[k - 1] = CheckBox[k - 1]->isChecked() ? 1 : 0;
        AnswerSheet::UpdateVerdict(e, AnswerSheet::correctFlagsOf(*dtCurrentSet));
    } else if (examMode == ExamMode::Reviewing) {
        CheckBox[k - 1]->setChecked(currentEntry().Choice[k - 1] != 0);
    }
}

void TTestForm::ALabelClick(int k)
{
    ScrollBox1->pickChoice(k);
}

void TTestForm::MarkBoxClick()
{
    if (!dtCurrentSet->isOpen() || Sheet.isEmpty())
        return;
    currentEntry().Marked = MarkBox->isChecked() ? 1 : 0;
}

void TTestForm::PrevButtonClick()
{
    dtCurrentSet->prior();
}

void TTestForm::NextButtonClick()
{
    dtCurrentSet->next();
}

void TTestForm::LearnButtonClick()
{
    ScrollBox1->showAnswers(true, correctChoices(*dtCurrentSet));
}

// ---- the clock -------------------------------------------------------------------------------

void TTestForm::StartClock()
{
    const bool running = Options.TimerOn && examMode == ExamMode::Testing;
    TimeLabel->setVisible(running);
    TimeLabel->setText(TimeText::format(TimeLimit));
    alignHeader();
    Timer1->setEnabled(running);
    Timer1->Reset();
}

void TTestForm::Timer1Timer()
{
    ElapsedTime = TimeText::parse(Timer1->Elapsed());
    TimeLabel->setText(TimeText::format(TimeLimit - ElapsedTime));
    TimeLabel->adjustSize();
    TimeLabel->move(Panel1->width() - TimeLabel->width() - 6, 24);
    // Whole seconds on both sides: a late tick that skips the limit still ends it.
    if (TimeText::wholeSeconds(ElapsedTime) >= TimeText::wholeSeconds(TimeLimit)) {
        Timer1->Reset();
        Timer1->setEnabled(false);
        TimeExpired();
    }
}

void TTestForm::TimeExpired()
{
    // Esc answers No; a box closed by its close button counts as OK.
    const Dialogs::Button answer =
        Dialogs::message(this, Dialogs::Icon::Information,
                         QStringLiteral("Your time has expired.\nDo you want continue the exam anyway?"),
                         Dialogs::Ok | Dialogs::No, Dialogs::Ok, Dialogs::No, Dialogs::Ok);
    if (answer == Dialogs::No)
        GradeButtonClick();
    else
        TimeLabel->hide();
}

// ---- ending an exam ------------------------------------------------------------------------

void TTestForm::Button3Click()
{
    if (examMode != ExamMode::Testing && examMode != ExamMode::Reviewing)
        return;
    if (Dialogs::message(this, Dialogs::Icon::Question,
                         QStringLiteral("Are you sure you wish to end this exam?"),
                         Dialogs::Yes | Dialogs::No, Dialogs::Yes, Dialogs::No) == Dialogs::Yes)
        CloseCurrentExam();
}

void TTestForm::Exit1Click()
{
    close();
}

bool TTestForm::FormCloseQuery()
{
    if (examMode != ExamMode::Testing)
        return true;
    return Dialogs::message(this, Dialogs::Icon::Warning,
                            QStringLiteral("This exam is not completed.\nAre you shure ?"),
                            Dialogs::Ok | Dialogs::Cancel, Dialogs::Ok, Dialogs::Cancel) == Dialogs::Ok;
}

void TTestForm::FormClose()
{
    CloseCurrentExam();
    if (MainForm)
        MainForm->show();
}

void TTestForm::closeEvent(QCloseEvent* event)
{
    bool mayClose = false;
    ErrorGuard::run([this, &mayClose] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    ErrorGuard::run([this] { FormClose(); });
    QDialog::closeEvent(event);
}

void TTestForm::keyPressEvent(QKeyEvent* event)
{
    // Esc does not close the exam window.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---- resizing ------------------------------------------------------------------------------

void TTestForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layout()->activate();
    ErrorGuard::run([this] { FormResize(); });
}

void TTestForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ErrorGuard::run([this] { FormResize(); });
}

void TTestForm::alignHeader()
{
    fcLabel1->setGeometry(0, 0, Panel1->width(), Panel1->height());
    for (QLabel* label : {static_cast<QLabel*>(Label1), Label2, static_cast<QLabel*>(CorrectLabel)})
        label->adjustSize();
    // The labels on the right keep to the right edge.
    Label3->adjustSize();
    Label3->move(Panel1->width() - Label3->width() - 6, 4);
    TimeLabel->adjustSize();
    TimeLabel->move(Panel1->width() - TimeLabel->width() - 6, 24);
    ReviewLabel->adjustSize();
    ReviewLabel->move(Panel1->width() - ReviewLabel->width() - 6, 24);
}

void TTestForm::FormResize()
{
    alignHeader();
    if (dtCurrentSet->isOpen() && !Sheet.isEmpty() && dtCurrentSet->recNo() >= 1 &&
        dtCurrentSet->recNo() <= Sheet.size() && examMode != ExamMode::Idle)
        ShowItem();
    if (!Panel4->isHidden())
        CenterExamButtons();
}

void TTestForm::CenterExamButtons()
{
    const int F = width();
    auto roundHalfEven = [](int numerator) {
        // numerator / 2, an exact half going to the even neighbour
        const int q = numerator >= 0 ? numerator / 2 : -((-numerator + 1) / 2);
        if (numerator % 2 == 0)
            return q;
        return (q % 2 == 0) ? q : q + 1;
    };
    const int top = 190;
    int left = roundHalfEven(F - 5 * fcShapeBtn[0]->width() - 30);
    for (ShadedButton* b : fcShapeBtn) {
        b->move(left, top);
        left += b->width() + 6;
    }
    int navyRow = -6;
    for (ShadedButton* b : {AllQBtn, RandomBtn, UserBtn, RetakeBtn})
        navyRow += b ? b->width() + 6 : 0;
    left = roundHalfEven(F - navyRow);
    for (ShadedButton* b : {AllQBtn, RandomBtn, UserBtn, RetakeBtn}) {
        if (!b)
            continue;
        b->move(left, top + 50);
        left += b->width() + 6;
    }
    const int w = Panel4->width();
    ExamCodeLabel->setGeometry(0, 30, w, 44);
    ExamNameLabel->setGeometry(0, 74, w, 44);
    if (auto* prompt = Panel4->findChild<QLabel*>(QStringLiteral("PromptLabel")))
        prompt->setGeometry(0, 140, w, 30);
}

// ---- menus -----------------------------------------------------------------------------------

void TTestForm::Print1Click()
{
    if (!dtCurrentSet->isOpen() || dtCurrentSet->isEmpty())
        return;
    ItemReport report;
    report.fill(QText->text(), ExamTitle, dtCurrentSet->recNo(), *dtCurrentSet);
    ReportPainter::print(report.run(FontTextMeasurer()), this);
}

void TTestForm::Print2Click()
{
    if (!dtCurrentSet->isOpen())
        return;
    // The item on screen stays put while the report walks the exam set, and
    // is the current item again once the preview is closed.
    SuspendedCursor following(*dtCurrentSet);
    ExamReport report(*dtCurrentSet);
    report.setExamTitle(ExamTitle);
    ReportPainter::preview(report.run(FontTextMeasurer()), this);
    following.restore();
}

void TTestForm::About1Click()
{
    Dialogs::execModal(AboutForm);
}

// ---- grading, review and notes -------------------------------------------------------------------

void TTestForm::GradeButtonClick()
{
    if (examMode == ExamMode::Testing) {
        if (Dialogs::message(
                this, Dialogs::Icon::Question,
                QStringLiteral("This will end your practice exam.\nAre you sure to end this exam?"),
                Dialogs::Ok | Dialogs::Cancel, Dialogs::Ok, Dialogs::Cancel) != Dialogs::Ok)
            return;
        ShowScoreReport();
    } else if (examMode == ExamMode::Reviewing) {
        // The report of the grading, shown again; nothing is graded twice.
        ShowScoreReport();
    }
}

void TTestForm::ShowScoreReport()
{
    // Grades while the exam is taken; in review it shows the stored report.
    if (examMode == ExamMode::Testing) {
        TimeLabel->hide();
        Timer1->setEnabled(false);
        const GradeResult result = GradeExam(Sheet, CandidateName, ExamTitle);
        ScoreForm->ShowResult(result);
        RecordAttempt(result);
        ScrollBox1->hide();
        GradeButton->setText(QStringLiteral("Score Report"));
    }
    Dialogs::execModal(ScoreForm);
}

void TTestForm::Button1Click()
{
    if (examMode == ExamMode::Testing)
        ReviewForm->BuildExamView(Sheet);
    else if (examMode == ExamMode::Reviewing)
        ReviewForm->BuildResultsView(Sheet);
    ReviewForm->BitBtn2->setEnabled(false);
    Dialogs::execModal(ReviewForm);
}

void TTestForm::NoteButtonClick()
{
    NoteForm->bindCurrentSet(dtCurrentSet);
    NoteForm->captureCurrentItem();
    NoteForm->Label2->setText(NoteLabel(ExamTitle, NoteForm->itemId()));
    Dialogs::execModal(NoteForm);
    // Nothing was redrawn under the note window, though the table may have
    // moved (grading, then "View Answers"): show the current record now.
    if (examMode != ExamMode::Idle && dtCurrentSet->isOpen() && dtCurrentSet->recNo() > 0)
        dsCurrentSetDataChange(QString());
}

// ---- exhibits, calculator and settings ----------------------------------------------------------

void TTestForm::ExhBtnAClick()
{
    // A picture that cannot be shown raises its error here, before the
    // window opens. The modal window leaves the item and the clock alone.
    Pict1Form->LoadPicture(dtCurrentSet->fieldByName(ItemRecord::PICT1).asString());
    Dialogs::execModal(Pict1Form);
}

void TTestForm::ExhBtnBClick()
{
    Pict2Form->LoadPicture(dtCurrentSet->fieldByName(ItemRecord::PICT2).asString());
    Dialogs::execModal(Pict2Form);
}

void TTestForm::Options1Click()
{
    OptionsForm->Prepare(this);
    // OK has already applied the choices; the fonts changed as they were chosen.
    if (Dialogs::execModal(OptionsForm) == QDialog::Accepted)
        SaveSettings();
}

void TTestForm::LoadSettings()
{
    // Each font starts from its design font; the store adds what it holds.
    SettingsStore::Values values;
    SettingsStore(settingsPath).load(values, SettingsStore::defaultCalcPath());
    QFont font = QuestionFont();
    QColor color = QuestionColor();
    StoredFont::apply(values.question, font, color);
    setQuestionFont(font);
    setQuestionColor(color);
    font = AnswersFont();
    color = AnswersColor();
    StoredFont::apply(values.answers, font, color);
    setAnswersFont(font);
    setAnswersColor(color);
    font = ExplanationFont();
    color = ExplanationColor();
    StoredFont::apply(values.explanation, font, color);
    setExplanationFont(font);
    setExplanationColor(color);
    Options = values.options;
}

void TTestForm::SaveSettings()
{
    SettingsStore::Values values;
    values.question = StoredFont::fromFont(QuestionFont(), QuestionColor());
    values.answers = StoredFont::fromFont(AnswersFont(), AnswersColor());
    values.explanation = StoredFont::fromFont(ExplanationFont(), ExplanationColor());
    values.options = Options;
    QString error;
    if (!SettingsStore(settingsPath).save(values, &error))
        Dialogs::error(this, error);
}

void TTestForm::SetupCalcButton()
{
    // A missing calculator is no error: the button stays hidden for the run.
    // One that exists but cannot be run is reported, then treated the same.
    bool accepted = false;
    if (TddgRunButton::FileExists(Options.CalcPath)) {
        ErrorGuard::run([this, &accepted] {
            CalcButton->setCommandLine(Options.CalcPath);
            accepted = true;
        });
    }
    if (accepted) {
        CalcButton->setVisible(Options.ShowCalcBtn);
    } else {
        CalcButton->hide();
        Options.ShowCalcBtn = false; // in memory only, until the next save
    }
}

// ---- score history and retaking the incorrect items ----------------------------------------

namespace {
QString historyFolderOf(const TTestForm* form)
{
    return form->historyFolder.isEmpty() ? ScoreHistory::defaultFolder() : form->historyFolder;
}
} // namespace

void TTestForm::buildHistoryControls()
{
    ScoreHistory1 = new QAction(QStringLiteral("Score &History..."), this);
    // Above the separator that leads to "Exit".
    const QList<QAction*> fileItems = N11->actions();
    const int exitAt = fileItems.indexOf(Exit1);
    QAction* before =
        exitAt > 0 && fileItems.at(exitAt - 1)->isSeparator() ? fileItems.at(exitAt - 1) : Exit1;
    N11->insertAction(before, ScoreHistory1);
    connect(ScoreHistory1, &QAction::triggered, this, guarded(this, &TTestForm::ScoreHistory1Click));

    RetakeAct = new QAction(QStringLiteral("Retake &Incorrect Items"), this);
    N21->addAction(RetakeAct);
    connect(RetakeAct, &QAction::triggered, this, guarded(this, &TTestForm::RetakeActExecute));
    RetakeBtn = new ShadedButton(QStringLiteral("Retake &Incorrect"), QColor(0, 0, 128), Panel4);
    RetakeBtn->setFixedSize(AllQBtn->width() + 12, AllQBtn->height()); // the longest caption of the row
    connect(RetakeBtn, &QPushButton::clicked, RetakeAct, &QAction::trigger);
    CenterExamButtons();

    // Page Down and Page Up page through the items like the two buttons.
    auto* pageDown = new QShortcut(QKeySequence(Qt::Key_PageDown), this);
    auto* pageUp = new QShortcut(QKeySequence(Qt::Key_PageUp), this);
    connect(pageDown, &QShortcut::activated, this, [this] {
        if (!Panel2->isHidden())
            NextButton->click(); // a disabled button ignores it
    });
    connect(pageUp, &QShortcut::activated, this, [this] {
        if (!Panel2->isHidden())
            PrevButton->click();
    });
}

double TTestForm::TimeUsed() const
{
    // The clock's count restarts at the exam's start, and again when the time
    // runs out and the candidate goes on.
    const double sinceReset = TimeText::parse(Timer1->Elapsed());
    const bool expired =
        Options.TimerOn && TimeText::wholeSeconds(ElapsedTime) >= TimeText::wholeSeconds(TimeLimit);
    return expired ? TimeLimit + sinceReset : sinceReset;
}

void TTestForm::RecordAttempt(const GradeResult& result)
{
    QString error;
    try {
        HistoryAttempt attempt =
            ScoreHistory::fromGrading(result, Sheet, *dtCurrentSet, ExamTitle, CandidateName, TimeLimit,
                                      TimeUsed(), QDateTime::currentDateTime());
        if (ScoreHistory(historyFolderOf(this)).append(attempt, &error))
            return;
    } catch (const TableError& e) {
        error = e.message();
    }
    // The score stays in the score window; only the history misses it.
    Dialogs::error(this, error);
}

void TTestForm::reloadHistory()
{
    std::vector<HistoryAttempt> attempts;
    QString error;
    if (!ScoreHistory(historyFolderOf(this)).load(&attempts, &error))
        Dialogs::error(this, error);
    HistoryForm->load(attempts);
}

void TTestForm::ScoreHistory1Click()
{
    if (!HistoryForm) {
        HistoryForm = new THistoryForm(this);
        connect(HistoryForm, &THistoryForm::deleteRequested, this, [this](qint64 id) {
            QString error;
            if (!ScoreHistory(historyFolderOf(this)).remove(id, &error))
                Dialogs::error(HistoryForm, error);
            reloadHistory();
        });
        connect(HistoryForm, &THistoryForm::exportRequested, this, [this](const QString& fileName) {
            QString error;
            if (!HistoryCsv::write(fileName, HistoryForm->attempts(), &error))
                Dialogs::error(HistoryForm, error);
        });
    }
    reloadHistory();
    Dialogs::execModal(HistoryForm);
}

void TTestForm::RetakeActExecute()
{
    if (examMode != ExamMode::Idle)
        return;
    HistoryAttempt latest;
    bool found = false;
    QString error;
    if (!ScoreHistory(historyFolderOf(this)).latest(&latest, &found, &error)) {
        Dialogs::error(this, error);
        return;
    }
    const RetakeSet set(found ? latest : HistoryAttempt{});
    std::vector<RetakeSet::Item> items;
    if (!set.incorrect().empty()) {
        dtQSet->setFilter(QString());
        dtQSet->setFiltered(false);
        try {
            if (set.needsBank())
                dtQSet->open();
            if (set.needsUserSet())
                dtUserSet->open();
            items =
                set.existing(dtQSet->isOpen() ? dtQSet : nullptr, dtUserSet->isOpen() ? dtUserSet : nullptr);
        } catch (...) {
            dtQSet->close();
            dtUserSet->close();
            throw;
        }
        dtQSet->close();
        dtUserSet->close();
    }
    if (items.empty()) {
        Dialogs::message(this, Dialogs::Icon::Information,
                         found ? QStringLiteral("The latest graded exam left no incorrect item to retake.")
                               : QStringLiteral("There is no graded exam yet, so there is no incorrect item "
                                                "to retake."),
                         Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
        return;
    }
    m_retakeItems = items;
    PrepareNameDialog(false);
    const int n = int(items.size());
    NameForm->SpinEdit2->setRange(1, n);
    NameForm->SpinEdit2->setValue(n);
    NameForm->setWindowTitle(QStringLiteral("Retake Incorrect Items"));
    ExamTitle = QStringLiteral("Retake Incorrect Items");
    dtQSet->setFilter(QString());
    const bool fromBank =
        std::any_of(items.begin(), items.end(), [](const auto& i) { return i.source == ItemSource::Bank; });
    const bool fromUserSet = std::any_of(items.begin(), items.end(),
                                         [](const auto& i) { return i.source == ItemSource::UserSet; });
    // Notes are for bank items only, as in a user exam.
    runStartSequence(&TTestForm::CopyRetakeShuffled, fromBank ? *dtQSet : *dtUserSet, fromUserSet);
    if (examMode == ExamMode::Idle)
        dtUserSet->close(); // cancelled: nothing stays open
}

void TTestForm::CopyRetakeShuffled()
{
    const std::vector<RetakeSet::Item> items = m_retakeItems;
    const int n = int(items.size());
    // The order is drawn like every exam's: over the positions 1..n.
    std::vector<std::int32_t> positions(n);
    for (int i = 0; i < n; ++i)
        positions[i] = i + 1;
    RandomSource random(SeedSource ? SeedSource() : RandomSource::seedFromClock());
    const std::vector<std::int32_t> order = ExamAssembly::choose(positions, n, random);
    for (const RetakeSet::Item& i : items) {
        Table& source = i.source == ItemSource::Bank ? *dtQSet : *dtUserSet;
        if (!source.isOpen())
            source.open();
    }
    // Consecutive items of one source are copied together.
    std::vector<ExamAssembly::Batch> batches;
    int done = 0;
    while (done < n) {
        const ItemSource source = items[order[done] - 1].source;
        const bool bank = source == ItemSource::Bank;
        ExamAssembly::Batch batch{
            bank ? dtQSet : dtUserSet, bank ? ExamAssembly::Source::Bank : ExamAssembly::Source::UserSet, {}};
        while (done < n && items[order[done] - 1].source == source)
            batch.keys.push_back(items[order[done++] - 1].id);
        batches.push_back(std::move(batch));
    }
    fillCurrentSet(batches);
}
