#pragma once

#include "core/exam/ExamClock.h"
#include "core/exam/ExamMode.h"
#include "core/exam/ExamRecord.h"
#include "core/history/RetakeSet.h"
#include "core/settings/ExamOptions.h"
#include "core/store/AnswerSheet.h"
#include "ui/settings/ItemAppearance.h"
#include "ui/widgets/LazyForm.h"

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class DataSource;
class ExamButtonBar;
class ExamHeader;
class ExamHistory;
class ExamKeeper;
class ExamMenu;
class ExamSession;
class ItemView;
class StartPage;
class Table;
class TKZTimeCounter;
class TAboutForm;
class TBrowserForm;
class TNameForm;
class TNoteForm;
class TOptionsForm;
class TPict1Form;
class TPict2Form;
class TProgressForm;
class TReviewForm;
class TScoreForm;
struct ExamKind;
struct GradeResult;
namespace ExamAssembly {
enum class Source;
}

// The exam window: the start page with the exam kinds, and one item of the
// running exam at a time with its answers, marks, clock, exhibits and the
// way to grading and review. Created once at start-up; every exam runs in it.
class TTestForm : public QDialog
{
    Q_OBJECT
public:
    explicit TTestForm(QWidget* parent = nullptr);
    ~TTestForm() override;

    // ---- exam state ---------------------------------------------------------
    ExamMode examMode = ExamMode::Idle;
    AnswerSheet Sheet;
    // Per item of the exam, in the set's order: whether "Learn Now" showed
    // its answers (an answer given after that was read, not recalled).
    std::vector<bool> LearnShown;
    QString ExamTitle;
    QString CandidateName;
    int ItemCount = 0;
    int FirstRecNo = 0;
    ExamClock Clock;    // TimeLimit and ElapsedTime
    QString WindowsDir; // the folder the default calculator is looked for in

    // ---- settings in memory --------------------------------------------------
    ExamOptions Options;
    // Takes the options chosen in the Options dialog: shows or hides the
    // buttons, restarts the clock, points the calculator at the new path.
    void applyOptions(const ExamOptions& chosen);
    // The item view's fonts and colours.
    ItemAppearance appearance() const;
    void setAppearance(const ItemAppearance& shown);
    void LoadSettings();
    void SaveSettings();
    void SetupCalcButton(); // applies CalcPath and ShowCalcBtn after loading
    QString settingsPath;   // the settings file; tests point it at a temporary one

    // ---- tables ----------------------------------------------------------------
    // Made before the window's parts: the session registers the tables'
    // password before any table can be opened, and owns the tables below.
    ExamSession* const examSession;
    Table* const dtQSet;
    Table* const dtCurrentSet;
    Table* const dtUserSet;
    DataSource* const dsCurrentSet;
    ExamHistory* const History; // the score history's folder and window

    // ---- published methods -----------------------------------------------------
    void ExamControls();
    void ReviewControls();
    void CloseCurrentExam();
    void StartClock();
    void ShowItem();
    void ShowVerdict();
    void RestoreAnswers();
    void CenterExamButtons();
    int PrepareNameDialog(bool numberEnabled); // the items open to any exam
    void CopyBankShuffled();
    void CopyBankRandomSelection();
    void CopyUserSetShuffled();
    void StartExam(void (TTestForm::*assembly)());
    void StartUserExam();
    void ShowScoreReport();
    void TimeExpired();
    AnswerEntry& currentEntry();
    // Seeds the draw of every assembly; empty means the clock. Tests fix it.
    std::function<std::uint32_t()> SeedSource;
    // Appends the graded exam to the score history; a failure is reported once.
    void RecordAttempt(const GradeResult& result);
    // Whether the running exam is kept for later, change by change: always
    // in the program; a benchmark turns it off to weigh its cost.
    void setExamKept(bool kept);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool pickChoiceByDigit(QKeyEvent* event);
    // ---- handlers ------------------------------------------------------------------
    void dsCurrentSetDataChange(const QString& fieldName);
    void PrevButtonClick();
    void NextButtonClick();
    void LearnButtonClick();
    void Button1Click(); // Items Review
    void NoteButtonClick();
    void GradeButtonClick();
    void Button3Click(); // Exit Exam
    void Exit1Click() { close(); }
    void MarkBoxClick(bool marked);
    void RadioButton1Click() { takeChoices(); }
    void CheckBoxClick(int) { takeChoices(); } // CheckBox1Click .. CheckBox6Click
    void ALabelClick(int k);                   // ALabel1Click .. ALabel6Click
    void ExhBtnAClick();
    void ExhBtnBClick();
    void Options1Click();
    void Print1Click();
    void Print2Click();
    void About1Click();
    void Keyboard1Click();
    void ScoreHistory1Click();
    void Timer1Timer();
    void Action1Execute();
    void Action2Execute();
    void Action3Execute();
    void Action4Execute();
    void Action5Execute();
    void AllQActExecute();
    void RandActExecute();
    void UserActExecute();
    void RetakeActExecute();
    void SmartReviewActExecute();
    void Browser1Click();
    // Starts an exam of exactly these items, as chosen in the question browser.
    void startChosenItems(const std::vector<RetakeSet::Item>& items);

    void FormCreate();
    void makeDialogsOnFirstUse();
    // ---- keeping the exam for later ----
    // The exam just begun becomes the one kept.
    void keepNewExam(bool userExam);
    // When an exam was interrupted: asks whether to continue it or discard it.
    void offerUnfinishedExam();
    void resumeExam(const ExamRecord::Exam& exam);
    // The candidate ends the exam: it is closed and no longer kept.
    void EndExam();
    bool FormCloseQuery();
    void FormClose() { CloseCurrentExam(); }
    void FormResize();
    void connectHandlers();
    void startKind(const ExamKind& kind);
    void runStartSequence(const std::function<void()>& assembly, Table& source, bool userExam);
    void takeChoices();
    // Fills the current set with count items of the source (all when
    // negative), showing the progress, and keeps where the set stands.
    void assemble(ExamAssembly::Source source, int count);
    std::uint32_t nextSeed() const;

    // ---- the window's parts, created in this order -----------------------------------
    ExamMenu* const MainMenu;
    ExamHeader* const Panel1;     // header strip
    QWidget* const Panel3;        // middle region
    ItemView* const ScrollBox1;   // the item area
    StartPage* const Panel4;      // start page
    ExamButtonBar* const Panel2;  // button bar
    TKZTimeCounter* const Timer1; // the exam clock's tick

    // The dialogs this window opens, each made the first time it is used.
    LazyForm<TProgressForm> ProgressForm;
    LazyForm<TScoreForm> ScoreForm;
    LazyForm<TNameForm> NameForm;
    LazyForm<TReviewForm> ReviewForm;
    LazyForm<TNoteForm> NoteForm;
    LazyForm<TOptionsForm> OptionsForm;
    LazyForm<TAboutForm> AboutForm;
    LazyForm<TPict1Form> Pict1Form;
    LazyForm<TPict2Form> Pict2Form;

    // The record of the running exam, kept change by change.
    std::unique_ptr<ExamKeeper> m_keeper;
    LazyForm<TBrowserForm> BrowserForm;
};
