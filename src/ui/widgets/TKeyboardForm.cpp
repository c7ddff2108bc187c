#include "ui/widgets/TKeyboardForm.h"

#include "ui/widgets/ControlNames.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

std::vector<TKeyboardForm::Key> TKeyboardForm::examKeys()
{
    return {
        {QStringLiteral("1 to 6"), QStringLiteral("Choose choice a to f, as a click does")},
        {QStringLiteral("Alt+A to Alt+F"),
         QStringLiteral("Choose choice a to f (the letters of the choices)")},
        {QStringLiteral("Space"), QStringLiteral("Tick or clear the answer that has the focus")},
        {QStringLiteral("Tab, Shift+Tab"), QStringLiteral("Move the focus between answers and buttons")},
        {QStringLiteral("Page Down, Alt+>"), QStringLiteral("Next Item")},
        {QStringLiteral("Page Up, Alt+<"), QStringLiteral("Previous Item")},
        {QStringLiteral("Alt+M"), QStringLiteral("Mark this item for review")},
        {QStringLiteral("Alt+1, Alt+2"), QStringLiteral("Open Exhibit 1 or Exhibit 2")},
        {QStringLiteral("Alt+L"), QStringLiteral("Learn Now: show the answer and the explanation")},
        {QStringLiteral("Alt+R"), QStringLiteral("Items Review")},
        {QStringLiteral("Alt+N"), QStringLiteral("Note on this item")},
        {QStringLiteral("Alt+G"), QStringLiteral("Grade Now (and the score report after grading)")},
        {QStringLiteral("Alt+X"), QStringLiteral("Exit Exam")},
        {QStringLiteral("Alt+F, Alt+S, Alt+H"),
         QStringLiteral("File, Exams and Help menus, while no exam runs")},
        {QStringLiteral("F10"), QStringLiteral("Open the File menu, also during an exam")},
        {QStringLiteral("Alt+A to Alt+E"), QStringLiteral("Start page: Practice Exam A to E")},
        {QStringLiteral("Alt+Q, Alt+R"), QStringLiteral("Start page: All Questions, Random Exam")},
        {QStringLiteral("Alt+U, Alt+I"), QStringLiteral("Start page: User Exam, Retake Incorrect")},
        {QStringLiteral("Esc"), QStringLiteral("Does not close the exam window")},
    };
}

std::vector<TKeyboardForm::Key> TKeyboardForm::samplerKeys()
{
    return {
        {QStringLiteral("Alt+A"), QStringLiteral("Add new item")},
        {QStringLiteral("Alt+E"), QStringLiteral("Edit item")},
        {QStringLiteral("Alt+D"), QStringLiteral("Delete Item")},
        {QStringLiteral("Esc"), QStringLiteral("Cancel the item being added or edited")},
        {QStringLiteral("Tab, Shift+Tab"), QStringLiteral("Move between the item's fields")},
        {QStringLiteral("Ctrl+Tab, Ctrl+Shift+Tab"), QStringLiteral("Next or previous page of the item")},
        {QStringLiteral("Space"), QStringLiteral("Tick or clear the correct answer that has the focus")},
        {QStringLiteral("Up, Down"), QStringLiteral("Move in the item list or the section list")},
        {QStringLiteral("Alt+F, Alt+I, Alt+H"), QStringLiteral("The File, Items and Help menus")},
        {QStringLiteral("F10"), QStringLiteral("Open the menu bar")},
    };
}

TKeyboardForm::TKeyboardForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Keyboard"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    KeyList = new QTreeWidget(this);
    KeyList->setAccessibleName(QStringLiteral("Keys"));
    KeyList->setColumnCount(2);
    KeyList->setHeaderLabels({QStringLiteral("Key"), QStringLiteral("What it does")});
    KeyList->setRootIsDecorated(false);
    KeyList->setSelectionMode(QAbstractItemView::NoSelection);
    KeyList->setFocusPolicy(Qt::StrongFocus);
    const auto addGroup = [this](const QString& title, const std::vector<Key>& keys) {
        auto* group = new QTreeWidgetItem(KeyList, {title});
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        group->setFirstColumnSpanned(true);
        for (const auto& [key, what] : keys)
            new QTreeWidgetItem(KeyList, {key, what});
    };
    addGroup(QStringLiteral("Exam window"), examKeys());
    addGroup(QStringLiteral("Test Sampler"), samplerKeys());
    KeyList->resizeColumnToContents(0);
    KeyList->resizeColumnToContents(1);
    KeyList->setMinimumSize(std::min(KeyList->header()->length() + 30, 900), 360);
    layout->addWidget(KeyList, 1);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    row->addWidget(OKButton);
    layout->addLayout(row);
    nameControls({{KeyList, "KeyList"}, {OKButton, "OKButton"}});
}

QStringList TKeyboardForm::listedKeys() const
{
    QStringList keys;
    QString group;
    for (int i = 0; i < KeyList->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = KeyList->topLevelItem(i);
        if (item->isFirstColumnSpanned())
            group = item->text(0);
        else
            keys << group + QStringLiteral(": ") + item->text(0);
    }
    return keys;
}
