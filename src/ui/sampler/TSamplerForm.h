#pragma once

#include <QDialog>
#include <array>

struct UserSetView;
class DBCheckBox;
class DBEdit;
class DBMemo;
class DBNavigator;
class DBTreeView;
class PanelStatusBar;
class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class ShadedLabel;
class TImportProgressForm;
class TImportSectionForm;
class TDM;

// The test sampler: the candidate writes a private question set here, one
// item at a time, which can later be taken as a "User Exam". The editor's
// controls are bound to the user set's current record (through DM); the
// data module reports the record's state back to this window.
class TSamplerForm : public QDialog
{
    Q_OBJECT
public:
    // The window over the data module's user set.
    explicit TSamplerForm(TDM& dm, QWidget* parent = nullptr);

    // Readies the window for an opening: the section list and the first page.
    void Prepare(const QStringList& sections);
    // Shows the user set's state as the data module reports it.
    void ShowUserSetState(const UserSetView& view);

    // Every way of closing (menu, close box) comes here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Menus
    QMenuBar* MainMenu1 = nullptr;
    QAction* Import1 = nullptr; // "&Import Questions..."
    QAction* Export1 = nullptr; // "Ex&port Questions..."
    QAction* N2 = nullptr;      // separator before "E&xit"
    QAction* Exit1 = nullptr;
    QAction* Addnewitem1 = nullptr; // the menu's entries: AddAct, EditAct and DelAct themselves
    QAction* Edititem1 = nullptr;
    QAction* Deleteitem1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Emptyquestionset1 = nullptr;
    QAction* About1 = nullptr;
    QMenu* PopupMenu1 = nullptr;

    // ActionList1
    QAction* AddAct = nullptr;
    QAction* EditAct = nullptr;
    QAction* DelAct = nullptr;

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton3 = nullptr;

    QSplitter* Splitter1 = nullptr;
    DBTreeView* fcDBTreeView1 = nullptr;
    ShadedLabel* fcLabel4 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    DBMemo* DBMemo1 = nullptr; // Q_TEXT
    QComboBox* ComboBox1 = nullptr;
    QListWidget* ListBox1 = nullptr; // the six sections
    QScrollArea* ScrollBox1 = nullptr;
    std::array<DBCheckBox*, 6> AnswerBox{}; // "a.".."f.", A1..A6
    std::array<DBEdit*, 6> ChoiceEdit{};    // Q1..Q6
    DBMemo* DBMemo2 = nullptr;              // Q_EXPL
    DBNavigator* DBNavigator1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // Save
    QPushButton* BitBtn2 = nullptr; // Cancel
    PanelStatusBar* StatusBar1 = nullptr;
    TImportSectionForm* ImportSectionForm = nullptr;   // the section of imported items that name none
    TImportProgressForm* ImportProgressForm = nullptr; // an import's progress, with Cancel

    void EnableActions(bool Value);
    void AddActExecute();
    void EditActExecute();
    void DelActExecute();
    void BitBtn1Click();
    void BitBtn2Click();
    void ComboBox1Change();
    void ListBox1Click();
    void TabSheet2Enter();
    void Emptyquestionset1Click();
    void Exit1Click();
    void About1Click();
    void PageControl1Resize();
    bool FormCloseQuery();
    void FormClose();
    // Question files in and out of the user set (GIFT, Aiken, CSV).
    void Import1Click();
    void Export1Click();

    // Shows an item's type (choice entry) and section (list row, -1 for none)
    // without taking it for a change by the candidate.
    void ShowTypeAndSection(int typeIndex, int sectionRow);
    // The section list's selected row, -1 when nothing is selected.
    int SelectedSection() const;

    void FormCreate();
    QWidget* makeQuestionPage();
    QWidget* makeTypePage();
    QWidget* makeChoicesPage();
    QWidget* makeExplanationPage();
    bool editing() const;
    void makeTransferActions(QMenu* file);
    bool mayLeaveItem();

    TDM& m_dm;
    bool m_showingChoices = false;
    QString m_transferDir;  // where the last question file was
    QString m_importFilter; // the file chooser's last filters
    QString m_exportFilter;
};
