#pragma once

#include "AnswerSheet.h"
#include "ChoiceRadio.h"
#include "ExamAssembly.h"
#include "ExamMode.h"
#include "ItemView.h"
#include "history/RetakeSet.h"
#include "settings/ExamOptions.h"

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
class DataSource;
class Session;
class ShadedButton;
class ShadedLabel;
class Table;
class TddgRunButton;
class TKZTimeCounter;
class THistoryForm;
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
    double TimeLimit = 0;   // days
    double ElapsedTime = 0; // days, whole seconds
    QString WindowsDir;     // the folder the default calculator is looked for in

    // ---- settings in memory --------------------------------------------------
    ExamOptions Options;
    QFont QuestionFont() const;
    QFont AnswersFont() const;
    QFont ExplanationFont() const;
    void setQuestionFont(const QFont& font);
    void setAnswersFont(const QFont& font);
    void setExplanationFont(const QFont& font);
    // Font colours; the fonts' colours live beside them, on the controls' palettes.
    QColor QuestionColor() const;
    QColor AnswersColor() const;
    QColor ExplanationColor() const;
    void setQuestionColor(const QColor& color);
    void setAnswersColor(const QColor& color);
    void setExplanationColor(const QColor& color);
    void LoadSettings();
    void SaveSettings();
    void SetupCalcButton(); // applies CalcPath and ShowCalcBtn after loading
    QString settingsPath;   // the settings file; tests point it at a temporary one

    // ---- tables ----------------------------------------------------------------
    std::unique_ptr<Session> session;
    Table* dtQSet = nullptr;
    Table* dtCurrentSet = nullptr;
    Table* dtUserSet = nullptr;
    DataSource* dsCurrentSet = nullptr;

    // ---- published methods -----------------------------------------------------
    void ExamControls();
    void ReviewControls();
    void CloseCurrentExam();
    void StartClock();
    void ShowItem();
    void ShowVerdict();
    void RestoreAnswers();
    void CenterExamButtons();
    void PrepareNameDialog(bool numberEnabled);
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

    // ---- handlers ------------------------------------------------------------------
    void dsCurrentSetDataChange(const QString& fieldName);
    void PrevButtonClick();
    void NextButtonClick();
    void LearnButtonClick();
    void Button1Click(); // Items Review
    void NoteButtonClick();
    void GradeButtonClick();
    void Button3Click(); // Exit Exam
    void Exit1Click();
    void MarkBoxClick();
    void RadioButton1Click();
    void CheckBoxClick(int k); // CheckBox1Click .. CheckBox6Click
    void ALabelClick(int k);   // ALabel1Click .. ALabel6Click
    void ExhBtnAClick();
    void ExhBtnBClick();
    void Options1Click();
    void Print1Click();
    void Print2Click();
    void About1Click();
    void Timer1Timer();
    void Action1Execute();
    void Action2Execute();
    void Action3Execute();
    void Action4Execute();
    void Action5Execute();
    void AllQActExecute();
    void RandActExecute();
    void UserActExecute();

    // ---- controls ------------------------------------------------------------------
    QMenuBar* MainMenu = nullptr;
    QMenu* N11 = nullptr; // &File
    QMenu* N21 = nullptr; // Exa&ms
    QMenu* Help1 = nullptr;
    QAction* Options1 = nullptr;
    QAction* Print1 = nullptr; // &Print this item
    QAction* Print2 = nullptr; // Print all items in this exam
    QAction* Exit1 = nullptr;
    QAction* About1 = nullptr;
    QAction* Action1 = nullptr;
    QAction* Action2 = nullptr;
    QAction* Action3 = nullptr;
    QAction* Action4 = nullptr;
    QAction* Action5 = nullptr;
    QAction* AllQAct = nullptr;
    QAction* RandAct = nullptr;
    QAction* UserAct = nullptr;

    QFrame* Panel1 = nullptr; // header strip
    ShadedLabel* fcLabel1 = nullptr;
    ShadedLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QCheckBox* MarkBox = nullptr;
    ShadedLabel* CorrectLabel = nullptr;
    ShadedLabel* TimeLabel = nullptr;
    QLabel* ReviewLabel = nullptr;

    QWidget* Panel3 = nullptr;      // middle region
    ItemView* ScrollBox1 = nullptr; // the item area; the controls below are its own
    QWidget* ItemArea = nullptr;    // the scrolled content of ScrollBox1
    QFrame* QPanel = nullptr;
    QLabel* QText = nullptr;
    QFrame* Shape1 = nullptr;
    QPushButton* ExhBtnA = nullptr;
    QPushButton* ExhBtnB = nullptr;
    TddgRunButton* CalcButton = nullptr;
    std::array<ChoiceRadio*, 6> RadioButton{};
    std::array<QCheckBox*, 6> CheckBox{};
    std::array<ChoiceLabel*, 6> ALabel{};
    QLabel* ExpText = nullptr;

    QWidget* Panel4 = nullptr; // start page
    QLabel* ExamCodeLabel = nullptr;
    QLabel* ExamNameLabel = nullptr;
    std::array<ShadedButton*, 5> fcShapeBtn{}; // A .. E
    ShadedButton* AllQBtn = nullptr;
    ShadedButton* RandomBtn = nullptr;
    ShadedButton* UserBtn = nullptr;

    QFrame* Panel2 = nullptr; // button bar
    QPushButton* PrevButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* LearnButton = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* NoteButton = nullptr;
    QPushButton* GradeButton = nullptr;
    QPushButton* Button3 = nullptr;

    TKZTimeCounter* Timer1 = nullptr;

    // ---- score history and retaking the incorrect items --------------------------
    QString historyFolder;            // the score history's folder; empty: the per-user data folder
    QAction* ScoreHistory1 = nullptr; // &File: Score &History...
    QAction* RetakeAct = nullptr;     // Exa&ms: Retake &Incorrect Items
    ShadedButton* RetakeBtn = nullptr;
    THistoryForm* HistoryForm = nullptr; // made on first use
    void ScoreHistory1Click();
    void RetakeActExecute();
    void CopyRetakeShuffled();
    // Appends the graded exam to the score history; a failure is reported once.
    void RecordAttempt(const GradeResult& result);
    double TimeUsed() const; // days, from the exam's start to now

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormCreate();
    bool FormCloseQuery();
    void FormClose();
    void FormResize();
    void alignHeader();
    void buildMenu();
    void buildHeader();
    void buildItemArea();
    void buildStartPage();
    void buildButtonBar();
    void startBankExam(const QString& caption, const QString& title, const QString& filter);
    void startPracticeExam(int exam); // 1..5: A..E
    void runStartSequence(void (TTestForm::*assembly)(), Table& source, bool userExam);
    // Fills the current exam set with `count` items of the source (all when
    // negative) in a new random order.
    void assemble(Table& source, ExamAssembly::Source kind, int count);
    void noItemsAvailable(const QString& title);
    // Empties the current exam set and lets `copy` fill it with `count` items
    // under the progress window; `copy` is given the progress callback.
    // Replaces the current exam set by the batches' items, in one transaction.
    void fillCurrentSet(const std::vector<ExamAssembly::Batch>& batches);
    void buildHistoryControls();
    void reloadHistory();
    std::vector<RetakeSet::Item> m_retakeItems; // the items of the retake being started
    int m_available = 0;                        // items of "All Questions", counted by PrepareNameDialog
};

extern TTestForm* TestForm;
