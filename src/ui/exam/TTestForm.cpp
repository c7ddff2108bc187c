#include "ui/exam/TTestForm.h"

#include "core/exam/ExamKeeper.h"
#include "core/exam/ExamKind.h"
#include "core/exam/ExamSession.h"
#include "core/exam/RandomSource.h"
#include "core/exam/TKZTimeCounter.h"
#include "core/exam/TimeText.h"
#include "core/grading/ExamReport.h"
#include "core/grading/GradeExam.h"
#include "core/grading/ItemReport.h"
#include "core/history/RetakeSet.h"
#include "core/history/ScoreHistory.h"
#include "core/learning/ItemMemory.h"
#include "core/settings/SettingsStore.h"
#include "core/store/CandidateTables.h"
#include "core/store/DataFolder.h"
#include "core/store/ItemRecord.h"
#include "core/store/NoteBook.h"
#include "core/tables/SuspendedCursor.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "ui/browser/TBrowserForm.h"
#include "ui/exam/AssemblyProgress.h"
#include "ui/exam/ExamButtonBar.h"
#include "ui/exam/ExamHeader.h"
#include "ui/exam/ExamMenu.h"
#include "ui/exam/ItemView.h"
#include "ui/exam/StartPage.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TPict1Form.h"
#include "ui/exam/TPict2Form.h"
#include "ui/exam/TProgressForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/history/ExamHistory.h"
#include "ui/reports/FontTextMeasurer.h"
#include "ui/reports/ReportPainter.h"
#include "ui/review/TNoteForm.h"
#include "ui/review/TReviewForm.h"
#include "ui/settings/StoredFont.h"
#include "ui/settings/TOptionsForm.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/TAboutForm.h"
#include "ui/widgets/TKeyboardForm.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace {
constexpr double SecondsPerDay = 24.0 * 60 * 60;
constexpr qint64 KeepClockEverySeconds = 5;
} // namespace

// ---- creation ------------------------------------------------------------------

TTestForm::TTestForm(QWidget* parent)
    : QDialog(parent), examSession(new ExamSession(this)), dtQSet(examSession->bank()),
      dtCurrentSet(examSession->currentSet()), dtUserSet(examSession->userSet()),
      dsCurrentSet(examSession->currentSource()), History(new ExamHistory(this)),
      MainMenu(new ExamMenu(this)), Panel1(new ExamHeader(this)), Panel3(new QWidget(this)),
      ScrollBox1(new ItemView(Panel3)), Panel4(new StartPage(Panel3)), Panel2(new ExamButtonBar(this)),
      Timer1(new TKZTimeCounter(this)), m_keeper(std::make_unique<ExamKeeper>(DataFolder::user()))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu);
    layout->addWidget(Panel1);
    Panel3->setAutoFillBackground(true);
    QPalette white = Panel3->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel3->setPalette(white);
    auto* middle = new QVBoxLayout(Panel3);
    middle->setContentsMargins(1, 1, 1, 1);
    middle->setSpacing(0);
    middle->addWidget(ScrollBox1);
    middle->addWidget(Panel4);
    layout->addWidget(Panel3, 1);
    layout->addWidget(Panel2);
    connectHandlers();
    CenterExamButtons();
    makeDialogsOnFirstUse();

    setMinimumSize(732, 502);
    setSizeGripEnabled(false);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    FormCreate();
    nameControls({{MainMenu, "MainMenu"},
                  {Panel1, "Panel1"},
                  {Panel3, "Panel3"},
                  {ScrollBox1, "ScrollBox1"},
                  {Panel4, "Panel4"},
                  {Panel2, "Panel2"},
                  {Timer1, "Timer1"}});
}

TTestForm::~TTestForm() = default;

void TTestForm::makeDialogsOnFirstUse()
{
    ProgressForm.setFactory([this] { return new TProgressForm(this); });
    ScoreForm.setFactory([this] { return new TScoreForm(this); });
    NameForm.setFactory([this] { return new TNameForm(this); });
    ReviewForm.setFactory([this] { return new TReviewForm(this); });
    NoteForm.setFactory([this] {
        auto* form = new TNoteForm(this);
        form->setTables(dtCurrentSet, examSession->noteWriter());
        return form;
    });
    OptionsForm.setFactory([this] { return new TOptionsForm(this); });
    AboutForm.setFactory([this] { return new TAboutForm(this); });
    Pict1Form.setFactory([this] { return new TPict1Form(this); });
    Pict2Form.setFactory([this] { return new TPict2Form(this); });
    BrowserForm.setFactory([this] {
        auto* form = new TBrowserForm(this);
        form->setSettingsPath(settingsPath);
        return form;
    });
}

void TTestForm::FormCreate()
{
    m_keeper->setFailureHandler([this](const QString& reason) {
        Dialogs::message(this, Dialogs::Icon::Warning,
                         QStringLiteral("This exam can no longer be kept for later: %1\nThe exam goes on; "
                                        "if it is interrupted, it cannot be continued.")
                             .arg(reason),
                         Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
    });
    // Time texts here carry no day-half marker at all (TimeText), so there
    // are no AM/PM designators to blank out. The tables' password is
    // registered by the session, made before the window's parts.
    connect(dsCurrentSet, &DataSource::dataChanged, this, guarded(this, &TTestForm::dsCurrentSetDataChange));

    setWindowState(Qt::WindowMaximized);
    setWindowTitle(QStringLiteral("Velarix 2.0"));
    examMode = ExamMode::Idle;
    // There is no Windows folder: calculators live with the system's programs.
    WindowsDir = QStringLiteral("/usr/bin");
    if (settingsPath.isEmpty())
        settingsPath = SettingsStore::defaultPath();
    LoadSettings();
    Panel2->setLearnShown(Options.ShowLearnBtn);
    SetupCalcButton();
}

void TTestForm::connectHandlers()
{
    connect(MainMenu, &ExamMenu::chosen, this, [this](ExamMenu::Item item) {
        using Item = ExamMenu::Item;
        static const std::pair<Item, void (TTestForm::*)()> handlers[] = {
            {Item::Options, &TTestForm::Options1Click},
            {Item::PrintItem, &TTestForm::Print1Click},
            {Item::PrintExam, &TTestForm::Print2Click},
            {Item::ScoreHistory, &TTestForm::ScoreHistory1Click},
            {Item::Browser, &TTestForm::Browser1Click},
            {Item::Exit, &TTestForm::Exit1Click},
            {Item::About, &TTestForm::About1Click},
            {Item::Keyboard, &TTestForm::Keyboard1Click},
            {Item::PracticeA, &TTestForm::Action1Execute},
            {Item::PracticeB, &TTestForm::Action2Execute},
            {Item::PracticeC, &TTestForm::Action3Execute},
            {Item::PracticeD, &TTestForm::Action4Execute},
            {Item::PracticeE, &TTestForm::Action5Execute},
            {Item::AllQuestions, &TTestForm::AllQActExecute},
            {Item::Random, &TTestForm::RandActExecute},
            {Item::User, &TTestForm::UserActExecute},
            {Item::Retake, &TTestForm::RetakeActExecute},
            {Item::SmartReview, &TTestForm::SmartReviewActExecute}};
        for (const auto& [chosen, handler] : handlers)
            if (chosen == item)
                guarded(this, handler)();
    });
    const std::pair<void (ExamButtonBar::*)(), void (TTestForm::*)()> buttons[] = {
        {&ExamButtonBar::prevClicked, &TTestForm::PrevButtonClick},
        {&ExamButtonBar::nextClicked, &TTestForm::NextButtonClick},
        {&ExamButtonBar::learnClicked, &TTestForm::LearnButtonClick},
        {&ExamButtonBar::reviewClicked, &TTestForm::Button1Click},
        {&ExamButtonBar::noteClicked, &TTestForm::NoteButtonClick},
        {&ExamButtonBar::gradeClicked, &TTestForm::GradeButtonClick},
        {&ExamButtonBar::exitClicked, &TTestForm::Button3Click}};
    for (const auto& [signal, handler] : buttons)
        connect(Panel2, signal, this, guarded(this, handler));
    connect(ScrollBox1, &ItemView::exhibitClicked, this,
            [this](int n) { guarded(this, n == 1 ? &TTestForm::ExhBtnAClick : &TTestForm::ExhBtnBClick)(); });
    connect(Panel1, &ExamHeader::markToggled, this, guarded(this, &TTestForm::MarkBoxClick));
    connect(ScrollBox1, &ItemView::radioChecked, this, guarded(this, &TTestForm::RadioButton1Click));
    connect(ScrollBox1, &ItemView::checkBoxToggled, this, guarded(this, &TTestForm::CheckBoxClick));
    connect(ScrollBox1, &ItemView::labelClicked, this, guarded(this, &TTestForm::ALabelClick));
    connect(Timer1, &QTimer::timeout, this, guarded(this, &TTestForm::Timer1Timer));

    // The start page's buttons choose the exam kinds' menu items.
    connect(Panel4, &StartPage::kindChosen, MainMenu, &ExamMenu::chooseExamKind);
}

// ---- exam kinds -------------------------------------------------------------------

int TTestForm::PrepareNameDialog(bool numberEnabled)
{
    const int m = examSession->countBank(ExamKind::allQuestions().filter);
    NameForm->setItemCount(m, m);
    dtQSet->close();
    NameForm->setNumberEnabled(numberEnabled);
    return m;
}

void TTestForm::Action1Execute()
{
    startKind(ExamKind::practice(1));
}

void TTestForm::Action2Execute()
{
    startKind(ExamKind::practice(2));
}

void TTestForm::Action3Execute()
{
    startKind(ExamKind::practice(3));
}

void TTestForm::Action4Execute()
{
    startKind(ExamKind::practice(4));
}

void TTestForm::Action5Execute()
{
    startKind(ExamKind::practice(5));
}

void TTestForm::AllQActExecute()
{
    startKind(ExamKind::allQuestions());
}

void TTestForm::RandActExecute()
{
    startKind(ExamKind::random());
}

void TTestForm::UserActExecute()
{
    startKind(ExamKind::user());
}

void TTestForm::startKind(const ExamKind& kind)
{
    for (const QString& notice : examSession->prepareCandidateTables())
        Dialogs::message(this, Dialogs::Icon::Warning, notice, Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
    const bool userExam = kind.source == ExamAssembly::Source::UserSet;
    if (userExam && !examSession->openUserSet()) {
        Dialogs::information(this, QStringLiteral("User defined question set is empty!"));
        return;
    }
    const int inAnyExam = PrepareNameDialog(kind.chooseCount);
    NameForm->setWindowTitle(kind.caption);
    ExamTitle = kind.title;
    if (userExam) {
        StartUserExam();
        return;
    }
    // The count leaves the kind's filter on the bank for the assembly; a kind
    // open to any exam item has been counted already. A kind without any item
    // opens no empty exam.
    const int available =
        kind.filter == ExamKind::allQuestions().filter ? inAnyExam : examSession->countBank(kind.filter);
    if (available == 0) {
        Dialogs::information(this,
                             QStringLiteral("There are no questions available for %1.").arg(kind.title));
        return;
    }
    StartExam(kind.chooseCount ? &TTestForm::CopyBankRandomSelection : &TTestForm::CopyBankShuffled);
}

// ---- exam start ---------------------------------------------------------------------

void TTestForm::StartExam(void (TTestForm::*assembly)())
{
    runStartSequence([this, assembly] { (this->*assembly)(); }, *dtQSet, false);
}

void TTestForm::StartUserExam()
{
    runStartSequence([this] { CopyUserSetShuffled(); }, *dtUserSet, true);
}

void TTestForm::runStartSequence(const std::function<void()>& assembly, Table& source, bool userExam)
{
    NameForm->setMinutes(Options.DefaultTime);
    if (Dialogs::execModal(NameForm) != QDialog::Accepted)
        return;
    CandidateName = NameForm->candidateName();
    Clock.TimeLimit = NameForm->minutes() / 1440.0;
    Panel1->showTitle(ExamTitle);
    examMode = ExamMode::Idle;
    // A bank exam reads the bank under the exam's filter; a user exam the
    // user set, with the bank left closed.
    if (!userExam)
        source.setFiltered(true);
    source.open();
    assembly();
    Sheet.InitAnswerSheet(*dtCurrentSet);
    LearnShown.assign(std::size_t(Sheet.size()), false);
    examMode = ExamMode::Testing;
    ExamControls();
    if (userExam)
        Panel2->hideNote(); // no notes on the candidate's own items
    dtCurrentSet->first();
    StartClock();
    keepNewExam(userExam);
}

void TTestForm::assemble(ExamAssembly::Source source, int count)
{
    AssemblyProgress progress(ProgressForm);
    const ExamSession::Assembled assembled = examSession->assemble(source, count, nextSeed(), &progress);
    FirstRecNo = assembled.firstRecNo;
    ItemCount = assembled.itemCount;
}

std::uint32_t TTestForm::nextSeed() const
{
    return SeedSource ? SeedSource() : RandomSource::seedFromClock();
}

void TTestForm::CopyBankShuffled()
{
    assemble(ExamAssembly::Source::Bank, -1);
}

void TTestForm::CopyUserSetShuffled()
{
    assemble(ExamAssembly::Source::UserSet, -1);
}

void TTestForm::CopyBankRandomSelection()
{
    assemble(ExamAssembly::Source::Bank, NameForm->itemCount());
}

// ---- control arrangements ---------------------------------------------------------------

void TTestForm::ExamControls()
{
    Panel4->hide();
    ScrollBox1->show();
    ScrollBox1->setEnabled(true);
    Panel1->showFor(ExamMode::Testing);
    Panel2->showFor(ExamMode::Testing);
    MainMenu->setExamOpen(true);
    MainMenu->setBrowserEnabled(false);
    Panel2->focusNext();
}

void TTestForm::ReviewControls()
{
    Panel1->showFor(ExamMode::Reviewing);
    Panel2->showFor(ExamMode::Reviewing);
    MainMenu->setBrowserEnabled(true);
}

void TTestForm::CenterExamButtons()
{
    Panel4->centerButtons(width());
}

void TTestForm::CloseCurrentExam()
{
    examMode = ExamMode::Idle;
    m_keeper->close(); // kept for later, unless the candidate ended it
    examSession->closeExam();
    Timer1->setEnabled(false);
    Panel1->showFor(ExamMode::Idle);
    Panel2->showFor(ExamMode::Idle);
    MainMenu->setExamOpen(false);
    MainMenu->setBrowserEnabled(true);
    ScrollBox1->hide();
    Panel4->show();
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
    if (examMode == ExamMode::Idle || (NoteForm.made() && NoteForm.made()->isVisible()))
        return;
    const int r = dtCurrentSet->recNo();
    m_keeper->current(r);
    Panel2->setPaging(r != FirstRecNo, r != ItemCount);
    Panel1->showPosition(r, ItemCount, dtCurrentSet->fieldByName(ItemRecord::Q_OR_NUMBER).asInteger());
    ShowItem();
    ShowVerdict();
}

void TTestForm::ShowItem()
{
    ScrollBox1->display(ItemView::itemOf(*dtCurrentSet), QSize(Panel3->width() - 2, Panel3->height() - 2));
    RestoreAnswers();
    ScrollBox1->show();
}

void TTestForm::ShowVerdict()
{
    if (examMode == ExamMode::Reviewing || examMode == ExamMode::Testing)
        ScrollBox1->showAnswers(examMode == ExamMode::Reviewing, AnswerSheet::correctFlagsOf(*dtCurrentSet));
    Panel1->showVerdict(currentEntry().Correct, examMode == ExamMode::Reviewing);
}

void TTestForm::RestoreAnswers()
{
    // Copied first: the handlers that the restore runs write into the entry.
    const AnswerEntry stored = currentEntry();
    ScrollBox1->showChoices(stored.Choice);
    Panel1->showMark(stored.Marked != 0);
}

// ---- answering -----------------------------------------------------------------------------

void TTestForm::takeChoices()
{
    // While testing the choices are the answer; in review the stored answer stays.
    if (examMode == ExamMode::Testing) {
        AnswerEntry& e = currentEntry();
        const AnswerEntry was = e;
        e.Choice = ScrollBox1->checkedChoices();
        AnswerSheet::UpdateVerdict(e, AnswerSheet::correctFlagsOf(*dtCurrentSet));
        if (e.Choice != was.Choice)
            m_keeper->answer(dtCurrentSet->recNo(), e);
    } else if (examMode == ExamMode::Reviewing) {
        ScrollBox1->showChoices(AnswerEntry(currentEntry()).Choice);
    }
}

void TTestForm::MarkBoxClick(bool marked)
{
    if (!dtCurrentSet->isOpen() || Sheet.isEmpty())
        return;
    AnswerEntry& e = currentEntry();
    if (e.Marked == (marked ? 1 : 0))
        return;
    e.Marked = marked ? 1 : 0;
    if (examMode != ExamMode::Idle)
        m_keeper->answer(dtCurrentSet->recNo(), e);
}

void TTestForm::ALabelClick(int k)
{
    ScrollBox1->pickChoice(k);
}

void TTestForm::LearnButtonClick()
{
    ScrollBox1->showAnswers(true, AnswerSheet::correctFlagsOf(*dtCurrentSet));
    const int r = dtCurrentSet->recNo();
    if (r >= 1 && r <= int(LearnShown.size()) && !LearnShown[std::size_t(r - 1)]) {
        LearnShown[std::size_t(r - 1)] = true;
        m_keeper->learnShown(r);
    }
}

void TTestForm::PrevButtonClick()
{
    dtCurrentSet->prior();
}

void TTestForm::NextButtonClick()
{
    dtCurrentSet->next();
}

// ---- the clock -------------------------------------------------------------------------------

void TTestForm::StartClock()
{
    const bool running = Options.TimerOn && examMode == ExamMode::Testing;
    Clock.restart(); // an earlier exam's count must not linger
    Panel1->showClock(Clock.remaining(), running);
    Panel1->setTimeRunningOut(Clock.runningOut());
    Timer1->setEnabled(running);
    Timer1->Reset();
}

void TTestForm::Timer1Timer()
{
    const bool timeIsUp = Clock.tick(Timer1->Elapsed());
    Panel1->showTime(Clock.remaining());
    // The time used is kept every few seconds: an exam continued later has
    // lost no more than that.
    m_keeper->elapsed(qRound64(Clock.ElapsedTime * SecondsPerDay), KeepClockEverySeconds);
    Panel1->setTimeRunningOut(Clock.runningOut());
    if (timeIsUp) {
        m_keeper->elapsed(qRound64(Clock.TimeLimit * SecondsPerDay));
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
        Panel1->hideClock();
}

// ---- ending an exam ------------------------------------------------------------------------

void TTestForm::Button3Click()
{
    if (examMode != ExamMode::Testing && examMode != ExamMode::Reviewing)
        return;
    if (Dialogs::message(this, Dialogs::Icon::Question,
                         QStringLiteral("Are you sure you wish to end this exam?"),
                         Dialogs::Yes | Dialogs::No, Dialogs::Yes, Dialogs::No) == Dialogs::Yes)
        EndExam();
}

void TTestForm::EndExam()
{
    CloseCurrentExam();
    m_keeper->forget();
}

bool TTestForm::FormCloseQuery()
{
    if (examMode != ExamMode::Testing)
        return true;
    return Dialogs::message(this, Dialogs::Icon::Warning,
                            QStringLiteral("This exam is not completed.\nAre you shure ?"),
                            Dialogs::Ok | Dialogs::Cancel, Dialogs::Ok, Dialogs::Cancel) == Dialogs::Ok;
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
    if (pickChoiceByDigit(event))
        return;
    QDialog::keyPressEvent(event);
}

bool TTestForm::pickChoiceByDigit(QKeyEvent* event)
{
    // 1 to 6 choose choices a to f, as a click on the letter does.
    const int k = event->key() - Qt::Key_0;
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (examMode != ExamMode::Testing || k < 1 || k > 6 || modifiers != Qt::NoModifier ||
        !ScrollBox1->hasChoice(k))
        return false;
    ScrollBox1->pickChoice(k);
    event->accept();
    return true;
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
    // The start page offers an exam that was interrupted, once the window is up.
    if (examMode == ExamMode::Idle && !event->spontaneous() && m_keeper->record().exists())
        QTimer::singleShot(0, this, guarded(this, &TTestForm::offerUnfinishedExam));
}

void TTestForm::FormResize()
{
    Panel1->align();
    if (dtCurrentSet->isOpen() && !Sheet.isEmpty() && dtCurrentSet->recNo() >= 1 &&
        dtCurrentSet->recNo() <= Sheet.size() && examMode != ExamMode::Idle)
        ShowItem();
    if (!Panel4->isHidden())
        CenterExamButtons();
}

// ---- menus -----------------------------------------------------------------------------------

void TTestForm::Print1Click()
{
    if (!dtCurrentSet->isOpen() || dtCurrentSet->isEmpty())
        return;
    ItemReport report;
    report.fill(ScrollBox1->questionText(), ExamTitle, dtCurrentSet->recNo(), *dtCurrentSet);
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

void TTestForm::Keyboard1Click()
{
    TKeyboardForm keys(this);
    Dialogs::execModal(&keys);
}

void TTestForm::About1Click()
{
    Dialogs::execModal(AboutForm);
}

// ---- grading, review and notes -------------------------------------------------------------------

void TTestForm::GradeButtonClick()
{
    // In review the report of the grading shows again; nothing is graded twice.
    if (examMode == ExamMode::Reviewing ||
        (examMode == ExamMode::Testing &&
         Dialogs::message(this, Dialogs::Icon::Question,
                          QStringLiteral("This will end your practice exam.\nAre you sure to end this exam?"),
                          Dialogs::Ok | Dialogs::Cancel, Dialogs::Ok, Dialogs::Cancel) == Dialogs::Ok))
        ShowScoreReport();
}

void TTestForm::ShowScoreReport()
{
    // Grades while the exam is taken; in review it shows the stored report.
    if (examMode == ExamMode::Testing) {
        Panel1->hideClock();
        Timer1->setEnabled(false);
        const GradeResult result = GradeExam(Sheet, CandidateName, ExamTitle);
        ScoreForm->ShowResult(result);
        RecordAttempt(result);
        m_keeper->mode(ExamMode::Testing, true);
        ScrollBox1->hide();
        Panel2->showGraded();
    }
    ScoreForm->clearChoice();
    Dialogs::execModal(ScoreForm);
    switch (ScoreForm->choice()) {
    case TScoreForm::Choice::ViewAnswers:
        examMode = ExamMode::Reviewing;
        m_keeper->mode(ExamMode::Reviewing, true);
        ReviewControls();
        // The move redraws the first item in review form and shows the item area.
        dtCurrentSet->first();
        break;
    case TScoreForm::Choice::ExitExam:
        EndExam();
        break;
    case TScoreForm::Choice::None:
        break;
    }
}

void TTestForm::Button1Click()
{
    if (examMode == ExamMode::Testing)
        ReviewForm->BuildExamView(Sheet);
    else if (examMode == ExamMode::Reviewing)
        ReviewForm->BuildResultsView(Sheet);
    if (Dialogs::execModal(ReviewForm) == QDialog::Accepted && ReviewForm->chosenEntry() >= 0)
        dtCurrentSet->setRecNo(ReviewForm->chosenEntry() + 1);
}

void TTestForm::NoteButtonClick()
{
    NoteForm->setTables(dtCurrentSet, examSession->noteWriter());
    NoteForm->captureCurrentItem(ExamTitle);
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
    OptionsForm->Prepare(Options, appearance());
    // Fonts and colours apply as they are chosen, even if the dialog is then
    // closed without OK.
    const QMetaObject::Connection fonts =
        connect(OptionsForm, &TOptionsForm::fontChosen, ScrollBox1, &ItemView::setPartFont);
    const QMetaObject::Connection colors =
        connect(OptionsForm, &TOptionsForm::colorChosen, ScrollBox1, &ItemView::setPartColor);
    const int result = Dialogs::execModal(OptionsForm);
    disconnect(fonts);
    disconnect(colors);
    if (result != QDialog::Accepted)
        return;
    // A calculator path the button refuses is still kept and stored.
    try {
        applyOptions(OptionsForm->chosenOptions());
    } catch (...) {
        SaveSettings();
        throw;
    }
    SaveSettings();
}

void TTestForm::applyOptions(const ExamOptions& chosen)
{
    const ExamOptions was = std::exchange(Options, chosen);
    Panel2->setLearnShown(Options.ShowLearnBtn);
    ScrollBox1->setCalculatorShown(Options.ShowCalcBtn);
    if (Options.TimerOn != was.TimerOn)
        StartClock();
    // Kept (and stored) even when the button refuses it, which it says last.
    if (Options.CalcPath != was.CalcPath)
        ScrollBox1->setCalculator(Options.CalcPath);
}

ItemAppearance TTestForm::appearance() const
{
    return ScrollBox1->appearance();
}

void TTestForm::setAppearance(const ItemAppearance& shown)
{
    ScrollBox1->setAppearance(shown);
}

void TTestForm::LoadSettings()
{
    // Each font starts from its design font; the store adds what it holds.
    SettingsStore::Values values;
    SettingsStore(settingsPath).load(values, SettingsStore::defaultCalcPath());
    ItemAppearance shown = appearance();
    StoredFont::apply(values, shown);
    setAppearance(shown);
    Options = values.options;
}

void TTestForm::SaveSettings()
{
    SettingsStore::Values values;
    StoredFont::store(appearance(), values);
    values.options = Options;
    QString error;
    if (!SettingsStore(settingsPath).save(values, &error))
        Dialogs::error(this, error);
}

void TTestForm::SetupCalcButton()
{
    // A calculator that is missing or cannot be run leaves the button hidden
    // for the run.
    if (!ScrollBox1->takeCalculator(Options.CalcPath))
        Options.ShowCalcBtn = false; // in memory only, until the next save
    ScrollBox1->setCalculatorShown(Options.ShowCalcBtn);
}

// ---- score history and retaking the incorrect items ----------------------------------------

void TTestForm::RecordAttempt(const GradeResult& result)
{
    History->record(
        [&] {
            return ScoreHistory::fromGrading(result, Sheet, *dtCurrentSet, ExamTitle, CandidateName,
                                             Clock.TimeLimit, Clock.used(Timer1->Elapsed(), Options.TimerOn),
                                             QDateTime::currentDateTime());
        },
        [this] { return ItemMemory::outcomesOf(Sheet, *dtCurrentSet, LearnShown); });
}

void TTestForm::ScoreHistory1Click()
{
    History->show(examSession);
}

void TTestForm::RetakeActExecute()
{
    if (examMode != ExamMode::Idle)
        return;
    const std::vector<RetakeSet::Item> items = History->retakeItems(*examSession);
    if (items.empty())
        return;
    const ExamKind kind = ExamKind::retake();
    const int n = int(items.size());
    NameForm->setItemCount(n, n);
    NameForm->setNumberEnabled(false);
    NameForm->setWindowTitle(kind.caption);
    ExamTitle = kind.title;
    dtQSet->setFilter(QString());
    const bool fromBank = RetakeSet::holds(items, ItemSource::Bank);
    const bool fromUserSet = RetakeSet::holds(items, ItemSource::UserSet);
    const auto assembleRetake = [this, &items] {
        AssemblyProgress progress(ProgressForm);
        const ExamSession::Assembled assembled = examSession->assembleRetake(items, nextSeed(), &progress);
        FirstRecNo = assembled.firstRecNo;
        ItemCount = assembled.itemCount;
    };
    // Notes are for bank items only, as in a user exam.
    runStartSequence(assembleRetake, fromBank ? *dtQSet : *dtUserSet, fromUserSet);
    if (examMode == ExamMode::Idle)
        dtUserSet->close(); // cancelled: nothing stays open
}

// ---- keeping the exam for later -------------------------------------------------------------

void TTestForm::keepNewExam(bool userExam)
{
    ExamRecord::Exam exam;
    exam.title = ExamTitle;
    exam.candidateName = CandidateName;
    exam.timeLimitSeconds = qRound64(Clock.TimeLimit * SecondsPerDay);
    exam.mode = ExamMode::Testing;
    exam.userExam = userExam;
    exam.currentRecNo = dtCurrentSet->recNo();
    exam.items = ExamRecord::itemsOf(*dtCurrentSet);
    exam.answers = Sheet.entries();
    exam.learnShown = LearnShown;
    m_keeper->begin(exam);
}

void TTestForm::offerUnfinishedExam()
{
    if (examMode != ExamMode::Idle || !m_keeper->record().exists())
        return;
    ExamRecord::Exam exam;
    try {
        exam = m_keeper->record().load();
    } catch (const TableError& e) {
        m_keeper->record().close();
        Dialogs::message(
            this, Dialogs::Icon::Warning,
            QStringLiteral("Your unfinished exam cannot be continued: %1\nIt has been discarded.")
                .arg(e.message()),
            Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
        m_keeper->forget();
        return;
    }
    m_keeper->record().close();
    if (exam.title.isEmpty()) { // cut short before it was whole: nothing to give back
        m_keeper->forget();
        return;
    }
    QString state;
    if (exam.recorded)
        state = QStringLiteral("It has been graded; its answers can be reviewed.");
    else if (exam.timeLimitSeconds > 0 && exam.elapsedSeconds >= exam.timeLimitSeconds)
        state = QStringLiteral("Its time has expired.");
    else if (exam.timeLimitSeconds > 0)
        state =
            QStringLiteral("Time left: %1.")
                .arg(TimeText::format(double(exam.timeLimitSeconds - exam.elapsedSeconds) / SecondsPerDay));
    const QString question =
        QStringLiteral("You have an unfinished exam: %1, taken by %2.\n%3 of %4 items answered. %5\n\n"
                       "Do you want to continue it?")
            .arg(exam.title, exam.candidateName)
            .arg(exam.answeredCount())
            .arg(exam.items.size())
            .arg(state)
            .trimmed();
    if (Dialogs::message(this, Dialogs::Icon::Question, question, Dialogs::Yes | Dialogs::No, Dialogs::Yes,
                         Dialogs::No) == Dialogs::No &&
        Dialogs::message(
            this, Dialogs::Icon::Warning,
            QStringLiteral("Discard the unfinished exam %1?\nIt cannot be continued later.").arg(exam.title),
            Dialogs::Yes | Dialogs::No, Dialogs::No, Dialogs::No) == Dialogs::Yes) {
        m_keeper->forget();
        return;
    }
    resumeExam(exam);
}

void TTestForm::resumeExam(const ExamRecord::Exam& exam)
{
    // The exam is given back onto the current set it was kept for, and only onto it.
    try {
        examSession->reopenCurrentSet();
    } catch (const TableError& e) {
        examSession->closeExam();
        Dialogs::message(
            this, Dialogs::Icon::Warning,
            QStringLiteral("Your unfinished exam %1 cannot be continued: %2\nIt has been discarded.")
                .arg(exam.title, e.message()),
            Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
        m_keeper->forget();
        return;
    }
    if (ExamRecord::itemsOf(*dtCurrentSet) != exam.items) {
        examSession->closeExam();
        Dialogs::message(this, Dialogs::Icon::Warning,
                         QStringLiteral("Your unfinished exam %1 cannot be continued: the current exam set "
                                        "holds other items than the ones it was taken on.\nIt has been "
                                        "discarded.")
                             .arg(exam.title),
                         Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
        m_keeper->forget();
        return;
    }
    ExamTitle = exam.title;
    CandidateName = exam.candidateName;
    Clock.TimeLimit = double(exam.timeLimitSeconds) / SecondsPerDay;
    Clock.ElapsedTime = double(exam.elapsedSeconds) / SecondsPerDay;
    Sheet.assign(exam.answers);
    LearnShown = exam.learnShown;
    FirstRecNo = 1;
    ItemCount = int(exam.items.size());
    Panel1->showTitle(ExamTitle);
    m_keeper->resume();

    examMode = ExamMode::Testing;
    ExamControls();
    if (exam.userExam)
        Panel2->hideNote();
    const bool graded = exam.recorded;
    const bool timed = Options.TimerOn && exam.timeLimitSeconds > 0 && !graded;
    const bool expired = timed && exam.elapsedSeconds >= exam.timeLimitSeconds;
    // The counter goes on from the time kept: the time the program was not
    // running does not count.
    Panel1->showClock(Clock.remaining(), timed && !expired);
    Timer1->setEnabled(timed && !expired);
    Timer1->ResetTo(Clock.ElapsedTime);
    if (graded) {
        // Graded before: its report is shown again on request, never recorded twice.
        ScoreForm->ShowResult(GradeExam(Sheet, CandidateName, ExamTitle));
        Panel1->hideClock();
        Timer1->setEnabled(false);
        Panel2->showGraded();
        examMode = ExamMode::Reviewing;
        m_keeper->mode(ExamMode::Reviewing, true);
        ReviewControls();
    }
    dtCurrentSet->setRecNo(exam.currentRecNo);
    dsCurrentSetDataChange(QString());
    if (expired) {
        Timer1->Reset();
        QTimer::singleShot(0, this, guarded(this, &TTestForm::TimeExpired));
    }
}

void TTestForm::setExamKept(bool kept)
{
    m_keeper->setPaused(!kept);
}

// ---- the question browser -------------------------------------------------------------------

void TTestForm::Browser1Click()
{
    // It shows the answers: never while an exam is being taken.
    if (examMode == ExamMode::Testing)
        return;
    TBrowserForm::Sources sources;
    sources.bankPath = dtQSet->filePath();
    sources.userSetPath = dtUserSet->filePath();
    sources.notesPath = examSession->notes().path();
    sources.historyFolder = History->folder.isEmpty() ? ScoreHistory::defaultFolder() : History->folder;
    sources.memoryFolder = sources.historyFolder;
    BrowserForm->load(sources);
    BrowserForm->setPractiseEnabled(examMode == ExamMode::Idle);
    if (Dialogs::execModal(BrowserForm) == QDialog::Accepted && examMode == ExamMode::Idle)
        startChosenItems(BrowserForm->chosenItems());
}

void TTestForm::startChosenItems(const std::vector<RetakeSet::Item>& items)
{
    if (items.empty())
        return;
    for (const QString& notice : examSession->prepareCandidateTables())
        Dialogs::message(this, Dialogs::Icon::Warning, notice, Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
    const int n = int(items.size());
    NameForm->setItemCount(n, n);
    NameForm->setNumberEnabled(false);
    NameForm->setWindowTitle(QStringLiteral("Practise the Chosen Items"));
    ExamTitle = QStringLiteral("Chosen Items");
    dtQSet->setFilter(QString());
    const bool fromBank = RetakeSet::holds(items, ItemSource::Bank);
    const bool fromUserSet = RetakeSet::holds(items, ItemSource::UserSet);
    const auto assembleChosen = [this, &items] {
        AssemblyProgress progress(ProgressForm);
        const ExamSession::Assembled assembled = examSession->assembleRetake(items, nextSeed(), &progress);
        FirstRecNo = assembled.firstRecNo;
        ItemCount = assembled.itemCount;
    };
    // Notes are for bank items only, as in a user exam.
    runStartSequence(assembleChosen, fromBank ? *dtQSet : *dtUserSet, fromUserSet);
    if (examMode == ExamMode::Idle)
        dtUserSet->close(); // cancelled: nothing stays open
}
