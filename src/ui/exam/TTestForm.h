#pragma once

#include "ui/exam/ChoiceRadio.h"
#include "core/exam/ExamAssembly.h"
#include "ui/exam/ExamButtonBar.h"
#include "core/exam/ExamClock.h"
#include "ui/exam/ExamHeader.h"
#include "ui/history/ExamHistory.h"
#include "core/exam/ExamKind.h"
#include "ui/exam/ExamMenu.h"
#include "core/exam/ExamMode.h"
#include "core/exam/ExamSession.h"
#include "ui/exam/ItemView.h"
#include "ui/exam/StartPage.h"
#include "core/history/RetakeSet.h"
#include "ui/review/TNoteForm.h"
#include "core/settings/ExamOptions.h"
#include "ui/settings/ItemAppearance.h"
#include "core/store/AnswerSheet.h"
#include "ui/widgets/LazyForm.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QWidget;
class ChoiceLabel;
class ItemText;
class DataSource;
class ShadedButton;
class ShadedLabel;
class Table;
class TddgRunButton;
class TKZTimeCounter;
class TProgressForm;
class TScoreForm;
class TNameForm;
class TReviewForm;
class TOptionsForm;
class TAboutForm;
class TPict1Form;
class TPict2Form;
struct GradeResult;

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
    // The item view's fonts and colours, under the names the options dialog uses.
    QFont QuestionFont() const { return ScrollBox1->questionFont(); }
    QFont AnswersFont() const { return ScrollBox1->answersFont(); }
    QFont ExplanationFont() const { return ScrollBox1->explanationFont(); }
    void setQuestionFont(const QFont& font) { ScrollBox1->setQuestionFont(font); }
    void setAnswersFont(const QFont& font) { ScrollBox1->setAnswersFont(font); }
    void setExplanationFont(const QFont& font) { ScrollBox1->setExplanationFont(font); }
    QColor QuestionColor() const { return ScrollBox1->questionColor(); }
    QColor AnswersColor() const { return ScrollBox1->answersColor(); }
    QColor ExplanationColor() const { return ScrollBox1->explanationColor(); }
    void setQuestionColor(const QColor& color) { ScrollBox1->setQuestionColor(color); }
    void setAnswersColor(const QColor& color) { ScrollBox1->setAnswersColor(color); }
    void setExplanationColor(const QColor& color) { ScrollBox1->setExplanationColor(color); }
    ItemAppearance appearance() const { return ScrollBox1->appearance(); }
    void setAppearance(const ItemAppearance& shown) { ScrollBox1->setAppearance(shown); }
    void LoadSettings();
    void SaveSettings();
    void SetupCalcButton(); // applies CalcPath and ShowCalcBtn after loading
    QString settingsPath;   // the settings file; tests point it at a temporary one

    // ---- tables ----------------------------------------------------------------
    // Made before the window's parts: the session registers the tables'
    // password before any table can be opened, and owns the tables below.
    ExamSession* const examSession = new ExamSession(this);
    Table* const dtQSet = examSession->bank();
    Table* const dtCurrentSet = examSession->currentSet();
    Table* const dtUserSet = examSession->userSet();
    DataSource* const dsCurrentSet = examSession->currentSource();

    // ---- published methods -----------------------------------------------------
    void ExamControls();
    void ReviewControls();
    void CloseCurrentExam();
    void StartClock();
    void ShowItem();
    void ShowVerdict();
    void RestoreAnswers();
    void CenterExamButtons() { Panel4->centerButtons(width()); }
    void PrepareNameDialog(bool numberEnabled);
    void CopyBankShuffled() { assemble(ExamAssembly::Source::Bank, -1); }
    void CopyBankRandomSelection();
    void CopyUserSetShuffled() { assemble(ExamAssembly::Source::UserSet, -1); }
    void StartExam(void (TTestForm::*assembly)()) { runStartSequence(assembly, *dtQSet, false); }
    void StartUserExam() { runStartSequence(&TTestForm::CopyUserSetShuffled, *dtUserSet, true); }
    void ShowScoreReport();
    void TimeExpired();
    AnswerEntry& currentEntry();
    // Seeds the draw of every assembly; empty means the clock. Tests fix it.
    std::function<std::uint32_t()> SeedSource;

    // ---- handlers ------------------------------------------------------------------
    void dsCurrentSetDataChange(const QString& fieldName);
    void PrevButtonClick();
    void NextButtonClick();
    void LearnButtonClick() { ScrollBox1->showAnswers(true, AnswerSheet::correctFlagsOf(*dtCurrentSet)); }
    void Button1Click(); // Items Review
    void NoteButtonClick();
    void GradeButtonClick();
    void Button3Click(); // Exit Exam
    void Exit1Click() { close(); }
    void MarkBoxClick();
    void RadioButton1Click() { takeChoices(); }
    void CheckBoxClick(int) { takeChoices(); }             // CheckBox1Click .. CheckBox6Click
    void ALabelClick(int k) { ScrollBox1->pickChoice(k); } // ALabel1Click .. ALabel6Click
    void ExhBtnAClick();
    void ExhBtnBClick();
    void Options1Click();
    void Print1Click();
    void Print2Click();
    void About1Click();
    void Timer1Timer();
    void Action1Execute() { startKind(ExamKind::practice(1)); }
    void Action2Execute() { startKind(ExamKind::practice(2)); }
    void Action3Execute() { startKind(ExamKind::practice(3)); }
    void Action4Execute() { startKind(ExamKind::practice(4)); }
    void Action5Execute() { startKind(ExamKind::practice(5)); }
    void AllQActExecute() { startKind(ExamKind::allQuestions()); }
    void RandActExecute() { startKind(ExamKind::random()); }
    void UserActExecute() { startKind(ExamKind::user()); }

    // ---- controls ------------------------------------------------------------------
    // The window is made of its parts, created here in this order. A control's
    // design name below is the part's own control, for the handlers and tests.
    ExamMenu* const MainMenu = new ExamMenu(this);
    QMenu* const& N11 = MainMenu->N11; // &File
    QMenu* const& N21 = MainMenu->N21; // Exa&ms
    QMenu* const& Help1 = MainMenu->Help1;
    QAction* const& Options1 = MainMenu->Options1;
    QAction* const& Print1 = MainMenu->Print1;               // &Print this item
    QAction* const& Print2 = MainMenu->Print2;               // Print all items in this exam
    QAction* const& ScoreHistory1 = MainMenu->ScoreHistory1; // &File: Score &History...
    QAction* const& Exit1 = MainMenu->Exit1;
    QAction* const& About1 = MainMenu->About1;
    QAction* const& Action1 = MainMenu->PracticeExam[0];
    QAction* const& Action2 = MainMenu->PracticeExam[1];
    QAction* const& Action3 = MainMenu->PracticeExam[2];
    QAction* const& Action4 = MainMenu->PracticeExam[3];
    QAction* const& Action5 = MainMenu->PracticeExam[4];
    QAction* const& AllQAct = MainMenu->AllQAct;
    QAction* const& RandAct = MainMenu->RandAct;
    QAction* const& UserAct = MainMenu->UserAct;
    QAction* const& RetakeAct = MainMenu->RetakeAct; // Exa&ms: Retake &Incorrect Items

    ExamHeader* const Panel1 = new ExamHeader(this); // header strip
    ShadedLabel* const& fcLabel1 = Panel1->fcLabel1;
    ShadedLabel* const& Label1 = Panel1->Label1;
    QLabel* const& Label2 = Panel1->Label2;
    QLabel* const& Label3 = Panel1->Label3;
    QCheckBox* const& MarkBox = Panel1->MarkBox;
    ShadedLabel* const& CorrectLabel = Panel1->CorrectLabel;
    ShadedLabel* const& TimeLabel = Panel1->TimeLabel;
    QLabel* const& ReviewLabel = Panel1->ReviewLabel;

    QWidget* const Panel3 = new QWidget(this);         // middle region
    ItemView* const ScrollBox1 = new ItemView(Panel3); // the item area
    QWidget* const& ItemArea = ScrollBox1->ItemArea;   // the scrolled content of ScrollBox1
    QFrame* const& QPanel = ScrollBox1->QPanel;
    ItemText* const& QText = ScrollBox1->QText;
    QFrame* const& Shape1 = ScrollBox1->Shape1;
    QPushButton* const& ExhBtnA = ScrollBox1->ExhBtnA;
    QPushButton* const& ExhBtnB = ScrollBox1->ExhBtnB;
    TddgRunButton* const& CalcButton = ScrollBox1->CalcButton;
    const std::array<ChoiceRadio*, 6>& RadioButton = ScrollBox1->RadioButton;
    const std::array<QCheckBox*, 6>& CheckBox = ScrollBox1->CheckBox;
    const std::array<ChoiceLabel*, 6>& ALabel = ScrollBox1->ALabel;
    ItemText* const& ExpText = ScrollBox1->ExpText;

    StartPage* const Panel4 = new StartPage(Panel3); // start page
    ShadedLabel* const& ExamCodeLabel = Panel4->ExamCodeLabel;
    ShadedLabel* const& ExamNameLabel = Panel4->ExamNameLabel;
    const std::array<ShadedButton*, 5>& fcShapeBtn = Panel4->fcShapeBtn; // A .. E
    ShadedButton* const& AllQBtn = Panel4->AllQBtn;
    ShadedButton* const& RandomBtn = Panel4->RandomBtn;
    ShadedButton* const& UserBtn = Panel4->UserBtn;
    ShadedButton* const& RetakeBtn = Panel4->RetakeBtn;

    ExamButtonBar* const Panel2 = new ExamButtonBar(this); // button bar
    QPushButton* const& PrevButton = Panel2->PrevButton;
    QPushButton* const& NextButton = Panel2->NextButton;
    QPushButton* const& LearnButton = Panel2->LearnButton;
    QPushButton* const& Button1 = Panel2->Button1; // Items Review
    QPushButton* const& NoteButton = Panel2->NoteButton;
    QPushButton* const& GradeButton = Panel2->GradeButton;
    QPushButton* const& Button3 = Panel2->Button3; // Exit Exam

    TKZTimeCounter* const Timer1;
    ExamHistory* const History = new ExamHistory(this); // its folder and window

    // ---- score history and retaking the incorrect items --------------------------
    void ScoreHistory1Click() { History->show(); }
    void RetakeActExecute();
    void CopyRetakeShuffled();
    // Appends the graded exam to the score history; a failure is reported once.
    void RecordAttempt(const GradeResult& result);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    void makeDialogsOnFirstUse();
    bool FormCloseQuery();
    void FormClose() { CloseCurrentExam(); }
    void FormResize();
    void connectHandlers();
    void startKind(const ExamKind& kind);
    void runStartSequence(void (TTestForm::*assembly)(), Table& source, bool userExam);
    void takeChoices();
    // Fills the current set with count items of the source (all when
    // negative), showing the progress; took() keeps where the set stands.
    void assemble(ExamAssembly::Source source, int count);
    std::uint32_t nextSeed() const;
    void took(const ExamSession::Assembled& assembled);
    std::vector<RetakeSet::Item> m_retakeItems; // the items of the retake being started

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
};
