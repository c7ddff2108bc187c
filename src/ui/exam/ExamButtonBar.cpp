#include "ui/exam/ExamButtonBar.h"

#include "ui/widgets/ControlNames.h"
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <utility>

ExamButtonBar::ExamButtonBar(QWidget* window) : QFrame(window)
{
    setFixedHeight(41);
    setFrameShape(QFrame::StyledPanel);
    auto* bar = new QHBoxLayout(this);
    bar->setContentsMargins(6, 6, 6, 6);
    bar->setSpacing(6);
    const auto makeButton = [this, bar](const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        b->setMinimumWidth(100);
        bar->addWidget(b);
        return b;
    };
    PrevButton = makeButton(QStringLiteral("&< Previous Item"));
    NextButton = makeButton(QStringLiteral("Next Item &>"));
    LearnButton = makeButton(QStringLiteral("&Learn Now"));
    Button1 = makeButton(QStringLiteral("Items &Review"));
    NoteButton = makeButton(QStringLiteral("&Note"));
    bar->addStretch(1);
    GradeButton = makeButton(QStringLiteral("&Grade Now"));
    Button3 = makeButton(QStringLiteral("E&xit Exam"));

    const auto pageKey = [this, window](Qt::Key key, QPushButton* button) {
        auto* shortcut = new QShortcut(QKeySequence(key), window);
        connect(shortcut, &QShortcut::activated, this, [this, button] {
            if (!isHidden())
                button->click(); // a disabled button ignores it
        });
    };
    pageKey(Qt::Key_PageDown, NextButton);
    pageKey(Qt::Key_PageUp, PrevButton);
    const std::pair<QPushButton*, void (ExamButtonBar::*)()> signalOf[] = {
        {PrevButton, &ExamButtonBar::prevClicked},   {NextButton, &ExamButtonBar::nextClicked},
        {LearnButton, &ExamButtonBar::learnClicked}, {Button1, &ExamButtonBar::reviewClicked},
        {NoteButton, &ExamButtonBar::noteClicked},   {GradeButton, &ExamButtonBar::gradeClicked},
        {Button3, &ExamButtonBar::exitClicked}};
    for (const auto& [button, signal] : signalOf)
        connect(button, &QPushButton::clicked, this, signal);
    hide();
    nameControls({{PrevButton, "PrevButton"},
                  {NextButton, "NextButton"},
                  {LearnButton, "LearnButton"},
                  {Button1, "Button1"},
                  {NoteButton, "NoteButton"},
                  {GradeButton, "GradeButton"},
                  {Button3, "Button3"}});
}

void ExamButtonBar::showFor(ExamMode mode)
{
    switch (mode) {
    case ExamMode::Idle:
        hide();
        NoteButton->show();
        break;
    case ExamMode::Testing:
        show();
        GradeButton->setText(QStringLiteral("&Grade Now"));
        LearnButton->setEnabled(true);
        break;
    case ExamMode::Reviewing:
        LearnButton->setEnabled(false);
        break;
    }
}

void ExamButtonBar::setPaging(bool prevEnabled, bool nextEnabled)
{
    PrevButton->setEnabled(prevEnabled);
    NextButton->setEnabled(nextEnabled);
}

void ExamButtonBar::setLearnShown(bool shown)
{
    LearnButton->setVisible(shown);
}

void ExamButtonBar::hideNote()
{
    NoteButton->hide();
}

void ExamButtonBar::showGraded()
{
    GradeButton->setText(QStringLiteral("Score Report"));
}

void ExamButtonBar::focusNext()
{
    NextButton->setFocus();
}
