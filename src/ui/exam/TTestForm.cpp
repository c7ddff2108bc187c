#include "ui/exam/TTestForm.h"

#include "core/exam/ExamKind.h"
#include "core/exam/ExamSession.h"
#include "core/exam/RandomSource.h"
#include "core/exam/TKZTimeCounter.h"
#include "core/grading/ExamReport.h"
#include "core/grading/ItemReport.h"
#include "core/history/RetakeSet.h"
#include "core/history/ScoreHistory.h"
#include "core/settings/SettingsStore.h"
#include "core/store/CandidateTables.h"
#include "core/store/ItemRecord.h"
#include "core/tables/SuspendedCursor.h"
#include "core/tables/Table.h"
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
#include <QVBoxLayout>
#include <utility>

// ---- creation ------------------------------------------------------------------

TTestForm::TTestForm(QWidget* parent)
    : QDialog(parent), examSession(new ExamSession(this)), dtQSet(examSession->bank()),
      dtCurrentSet(examSession->currentSet()), dtUserSet(examSession->userSet()),
      dsCurrentSet(examSession->currentSource()), History(new ExamHistory(this)),
      MainMenu(new ExamMenu(this)), Panel1(new ExamHeader(this)), Panel3(new QWidget(this)),
      ScrollBox1(new ItemView(Panel3)), Panel4(new StartPage(Panel3)), Panel2(new ExamButtonBar(this)),
      Timer1(new TKZTimeCounter(this))
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
}

void TTestForm::FormCreate()
{
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
            {Item::Retake, &TTestForm::RetakeActExecute}};
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

void TTestForm::PrepareNameDialog(bool numberEnabled)
{
    const int m = examSession->countBank(ExamKind::allQuestions().filter);
    NameForm->setItemCount(m, m);
    dtQSet->close();
    NameForm->setNumberEnabled(numberEnabled);
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
    PrepareNameDialog(kind.chooseCount);
    NameForm->setWindowTitle(kind.caption);
    ExamTitle = kind.title;
    if (userExam) {
        StartUserExam();
        return;
    }
    // The count leaves the kind's filter on the bank for the assembly. A kind
    // without any item opens no empty exam.
    if (examSession->countBank(kind.filter) == 0) {
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
    Panel2->focusNext();
}

void TTestForm::ReviewControls()
{
    Panel1->showFor(ExamMode::Reviewing);
    Panel2->showFor(ExamMode::Reviewing);
}

void TTestForm::CenterExamButtons()
{
    Panel4->centerButtons(width());
}

void TTestForm::CloseCurrentExam()
{
    examMode = ExamMode::Idle;
    examSession->closeExam();
    Timer1->setEnabled(false);
    Panel1->showFor(ExamMode::Idle);
    Panel2->showFor(ExamMode::Idle);
    MainMenu->setExamOpen(false);
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
        e.Choice = ScrollBox1->checkedChoices();
        AnswerSheet::UpdateVerdict(e, AnswerSheet::correctFlagsOf(*dtCurrentSet));
    } else if (examMode == ExamMode::Reviewing) {
        ScrollBox1->showChoices(AnswerEntry(currentEntry()).Choice);
    }
}

void TTestForm::MarkBoxClick(bool marked)
{
    if (!dtCurrentSet->isOpen() || Sheet.isEmpty())
        return;
    currentEntry().Marked = marked ? 1 : 0;
}

void TTestForm::ALabelClick(int k)
{
    ScrollBox1->pickChoice(k);
}

void TTestForm::LearnButtonClick()
{
    ScrollBox1->showAnswers(true, AnswerSheet::correctFlagsOf(*dtCurrentSet));
    const int r = dtCurrentSet->recNo();
    if (r >= 1 && r <= int(LearnShown.size()))
        LearnShown[std::size_t(r - 1)] = true;
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
    Panel1->setTimeRunningOut(Clock.runningOut());
    if (timeIsUp) {
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
        CloseCurrentExam();
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
        ScrollBox1->hide();
        Panel2->showGraded();
    }
    ScoreForm->clearChoice();
    Dialogs::execModal(ScoreForm);
    switch (ScoreForm->choice()) {
    case TScoreForm::Choice::ViewAnswers:
        examMode = ExamMode::Reviewing;
        ReviewControls();
        // The move redraws the first item in review form and shows the item area.
        dtCurrentSet->first();
        break;
    case TScoreForm::Choice::ExitExam:
        CloseCurrentExam();
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
    History->record([&] {
        return ScoreHistory::fromGrading(result, Sheet, *dtCurrentSet, ExamTitle, CandidateName,
                                         Clock.TimeLimit, Clock.used(Timer1->Elapsed(), Options.TimerOn),
                                         QDateTime::currentDateTime());
    });
}

void TTestForm::ScoreHistory1Click()
{
    History->show();
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
