#include "ui/exam/ExamMenu.h"

#include "ui/widgets/ControlNames.h"
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

ExamMenu::ExamMenu(QWidget* window) : QMenuBar(window)
{
    N11 = addMenu(QStringLiteral("&File"));
    QAction* Options1 = addItem(N11, QStringLiteral("&Options..."), Item::Options);
    Print2 = addItem(N11, QStringLiteral("Print all items in this exam"), Item::PrintExam);
    Print1 = addItem(N11, QStringLiteral("&Print this item"), Item::PrintItem);
    QAction* ScoreHistory1 = addItem(N11, QStringLiteral("Score &History..."), Item::ScoreHistory);
    Browser1 = addItem(N11, QStringLiteral("Question &Browser..."), Item::Browser);
    Browser1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    Browser1->setShortcutContext(Qt::WindowShortcut);
    N11->addSeparator();
    QAction* Exit1 = addItem(N11, QStringLiteral("E&xit"), Item::Exit);

    N21 = addMenu(QStringLiteral("Exa&ms"));
    std::array<QAction*, 5> PracticeExam{};
    for (int i = 0; i < 5; ++i)
        PracticeExam[i] = addItem(N21, QStringLiteral("Practice Exam &%1").arg(QChar('A' + i)),
                                  Item(int(Item::PracticeA) + i));
    N21->addSeparator();
    QAction* AllQAct = addItem(N21, QStringLiteral("&Take All &Questions"), Item::AllQuestions);
    QAction* RandAct = addItem(N21, QStringLiteral("&Random Exam"), Item::Random);
    QAction* SmartAct = addItem(N21, QStringLiteral("&Smart Review"), Item::SmartReview);
    QAction* UserAct = addItem(N21, QStringLiteral("&User Exam"), Item::User);
    QAction* RetakeAct = addItem(N21, QStringLiteral("Retake &Incorrect Items"), Item::Retake);
    for (int i = 0; i < 5; ++i)
        m_examKinds[i] = PracticeExam[i];
    m_examKinds[5] = AllQAct;
    m_examKinds[6] = RandAct;
    m_examKinds[7] = UserAct;
    m_examKinds[8] = RetakeAct;
    m_examKinds[9] = SmartAct;

    Help1 = addMenu(QStringLiteral("&Help"));
    QAction* About1 = addItem(Help1, QStringLiteral("Ab&out"), Item::About);
    QAction* Keyboard1 = addItem(Help1, QStringLiteral("&Keyboard"), Item::Keyboard);

    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), window);
    connect(menuKey, &QShortcut::activated, this, [this] { setActiveAction(N11->menuAction()); });
    setExamOpen(false);
    nameControls({{N11, "N11"},
                  {N21, "N21"},
                  {Help1, "Help1"},
                  {Options1, "Options1"},
                  {Print2, "Print2"},
                  {Print1, "Print1"},
                  {ScoreHistory1, "ScoreHistory1"},
                  {Browser1, "Browser1"},
                  {Exit1, "Exit1"},
                  {About1, "About1"},
                  {Keyboard1, "Keyboard1"},
                  {AllQAct, "AllQAct"},
                  {RandAct, "RandAct"},
                  {UserAct, "UserAct"},
                  {RetakeAct, "RetakeAct"},
                  {SmartAct, "SmartAct"}});
    nameControls(PracticeExam, "Action");
}

QAction* ExamMenu::addItem(QMenu* menu, const QString& text, Item item)
{
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this, [this, item] { emit chosen(item); });
    return action;
}

void ExamMenu::setExamOpen(bool open)
{
    N11->setTitle(open ? QStringLiteral("File") : QStringLiteral("&File"));
    N21->setTitle(open ? QStringLiteral("Exams") : QStringLiteral("Exa&ms"));
    N21->setEnabled(!open);
    N21->menuAction()->setEnabled(!open);
    // The start page's buttons choose these items; a focused, hidden
    // button must not start a second exam over the open one.
    for (QAction* action : N21->actions())
        action->setEnabled(!open);
    Print1->setEnabled(open);
    Print2->setEnabled(open);
}

void ExamMenu::setBrowserEnabled(bool enabled)
{
    Browser1->setEnabled(enabled);
}

void ExamMenu::chooseExamKind(int k)
{
    if (k >= 0 && k < ExamKinds)
        m_examKinds[k]->trigger(); // a disabled item ignores it
}
