#pragma once

#include <QMenuBar>
#include <array>

class QAction;
class QMenu;

// The exam window's menu bar: File, Exams and Help with their items. It only
// builds and switches them; the window connects the items to its handlers.
class ExamMenu : public QMenuBar
{
    Q_OBJECT
public:
    explicit ExamMenu(QWidget* window);

    // While an exam is open the menu titles give up their accelerators, so
    // the item's own win (Alt+M marks, Alt+F ticks choice f); F10 and the
    // mouse still reach the menus. No exam kind can start a second exam, and
    // the print items work only then.
    void setExamOpen(bool open);

    QMenu* N11 = nullptr; // &File
    QMenu* N21 = nullptr; // Exa&ms
    QMenu* Help1 = nullptr;
    QAction* Options1 = nullptr;
    QAction* Print2 = nullptr; // Print all items in this exam
    QAction* Print1 = nullptr; // &Print this item
    QAction* ScoreHistory1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* About1 = nullptr;
    std::array<QAction*, 5> PracticeExam{}; // Action1 .. Action5
    QAction* AllQAct = nullptr;
    QAction* RandAct = nullptr;
    QAction* UserAct = nullptr;
    QAction* RetakeAct = nullptr;
};
