#pragma once

#include "ChoiceRadio.h"
#include "ExamAssembly.h"
#include "ExamButtonBar.h"
#include "ExamHeader.h"
#include "ExamHistory.h"
#include "ExamKind.h"
#include "ExamMenu.h"
#include "ExamMode.h"
#include "ExamSession.h"
#include "ItemView.h"
#include "StartPage.h"
#include "history/RetakeSet.h"
#include "review/TNoteForm.h"
#include "settings/ExamOptions.h"
#include "settings/ItemAppearance.h"
#include "store/AnswerSheet.h"

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
class ShadedButton;
class ShadedLabel;
class Table;
class TddgRunButton;
class TKZTimeCounter;
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
    ExamSession* examSession = nullptr; // owns the tables below
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
    ExamMenu* MainMenu = nullptr;
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

    ExamHeader* Panel1 = nullptr; // header strip; the labels below are its own
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

    StartPage* Panel4 = nullptr; // start page; the titles and buttons below are its own
    QLabel* ExamCodeLabel = nullptr;
    QLabel* ExamNameLabel = nullptr;
    std::array<ShadedButton*, 5> fcShapeBtn{}; // A .. E
    ShadedButton* AllQBtn = nullptr;
    ShadedButton* RandomBtn = nullptr;
    ShadedButton* UserBtn = nullptr;

    ExamButtonBar* Panel2 = nullptr; // button bar; the buttons below are its own
    QPushButton* PrevButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* LearnButton = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* NoteButton = nullptr;
    QPushButton* GradeButton = nullptr;
    QPushButton* Button3 = nullptr;

    TKZTimeCounter* Timer1 = nullptr;

    // ---- score history and retaking the incorrect items --------------------------
    ExamHistory* History = nullptr;   // its folder and window
    QAction* ScoreHistory1 = nullptr; // &File: Score &History...
    QAction* RetakeAct = nullptr;     // Exa&ms: Retake &Incorrect Items
    ShadedButton* RetakeBtn = nullptr;
    // Saves a note into the bank item it belongs to, for the note window.
    TNoteForm::BankWriter noteWriter() const;
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
    void startKind(const ExamKind& kind);
    void runStartSequence(void (TTestForm::*assembly)(), Table& source, bool userExam);
    void noItemsAvailable(const QString& title);
    void takeChoices();
    std::uint32_t nextSeed() const;
    void took(const ExamSession::Assembled& assembled);
    std::vector<RetakeSet::Item> m_retakeItems; // the items of the retake being started
};

extern TTestForm* TestForm;
