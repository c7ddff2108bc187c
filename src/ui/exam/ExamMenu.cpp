#include "ui/exam/ExamMenu.h"

#include "ui/widgets/ControlNames.h"
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

ExamMenu::ExamMenu(QWidget* window) : QMenuBar(window)
{
    N11 = addMenu(QStringLiteral("&File"));
    Options1 = N11->addAction(QStringLiteral("&Options..."));
    Print2 = N11->addAction(QStringLiteral("Print all items in this exam"));
    Print1 = N11->addAction(QStringLiteral("&Print this item"));
    ScoreHistory1 = N11->addAction(QStringLiteral("Score &History..."));
    N11->addSeparator();
    Exit1 = N11->addAction(QStringLiteral("E&xit"));

    N21 = addMenu(QStringLiteral("Exa&ms"));
    for (int i = 0; i < 5; ++i)
        PracticeExam[i] = N21->addAction(QStringLiteral("Practice Exam &%1").arg(QChar('A' + i)));
    N21->addSeparator();
    AllQAct = N21->addAction(QStringLiteral("&Take All &Questions"));
    RandAct = N21->addAction(QStringLiteral("&Random Exam"));
    UserAct = N21->addAction(QStringLiteral("&User Exam"));
    RetakeAct = N21->addAction(QStringLiteral("Retake &Incorrect Items"));

    Help1 = addMenu(QStringLiteral("&Help"));
    About1 = Help1->addAction(QStringLiteral("Ab&out"));

    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), window);
    connect(menuKey, &QShortcut::activated, this, [this] { setActiveAction(N11->menuAction()); });
    setExamOpen(false);
    nameControls({{N11, "N11"}, {N21, "N21"}, {Help1, "Help1"}, {Options1, "Options1"}, {Print2, "Print2"}, {Print1, "Print1"}, {ScoreHistory1, "ScoreHistory1"}, {Exit1, "Exit1"}, {About1, "About1"}, {AllQAct, "AllQAct"}, {RandAct, "RandAct"}, {UserAct, "UserAct"}, {RetakeAct, "RetakeAct"}});
    nameControls(PracticeExam, "Action");
}

void ExamMenu::setExamOpen(bool open)
{
    N11->setTitle(open ? QStringLiteral("File") : QStringLiteral("&File"));
    N21->setTitle(open ? QStringLiteral("Exams") : QStringLiteral("Exa&ms"));
    N21->setEnabled(!open);
    N21->menuAction()->setEnabled(!open);
    // The start page's buttons trigger these actions; a focused, hidden
    // button must not start a second exam over the open one.
    for (QAction* action : N21->actions())
        action->setEnabled(!open);
    Print1->setEnabled(open);
    Print2->setEnabled(open);
}
