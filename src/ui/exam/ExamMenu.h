#pragma once

#include <QMenuBar>
#include <array>

class QAction;
class QMenu;

// The exam window's menu bar: File, Exams and Help with their items. It
// builds and switches them and says which item was chosen; the window acts on it.
class ExamMenu : public QMenuBar
{
    Q_OBJECT
public:
    // The items, in the menus' order. The exam kinds run from PracticeA to
    // SmartReview, in the order of the start page's buttons.
    enum class Item {
        Options,
        PrintExam,
        PrintItem,
        ScoreHistory,
        Browser,
        Exit,
        PracticeA,
        PracticeB,
        PracticeC,
        PracticeD,
        PracticeE,
        AllQuestions,
        Random,
        User,
        Retake,
        SmartReview,
        About,
        Keyboard
    };
    Q_ENUM(Item)
    static constexpr int ExamKinds = int(Item::SmartReview) - int(Item::PracticeA) + 1;

    explicit ExamMenu(QWidget* window);

    // While an exam is open the menu titles give up their accelerators, so
    // the item's own win (Alt+M marks, Alt+F ticks choice f); F10 and the
    // mouse still reach the menus. No exam kind can start a second exam, and
    // the print items work only then.
    void setExamOpen(bool open);
    // Chooses exam kind k (0 .. ExamKinds - 1) as its menu item would be
    // chosen: not while an exam is open.
    void chooseExamKind(int k);
    // The question browser shows the answers: not while an exam is taken.
    void setBrowserEnabled(bool enabled);

signals:
    void chosen(ExamMenu::Item item);

private:
    QAction* addItem(QMenu* menu, const QString& text, Item item);

    QMenu* N11 = nullptr; // &File
    QMenu* N21 = nullptr; // Exa&ms
    QMenu* Help1 = nullptr;
    QAction* Print2 = nullptr;                     // Print all items in this exam
    QAction* Print1 = nullptr;                     // &Print this item
    QAction* Browser1 = nullptr;                   // Question &Browser...
    std::array<QAction*, ExamKinds> m_examKinds{}; // Action1 .. Action5, AllQAct .. RetakeAct
};
