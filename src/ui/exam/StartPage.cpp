#include "ui/exam/StartPage.h"

#include "core/grading/GradeExam.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/ShadedButton.h"
#include "ui/widgets/ShadedLabel.h"
#include "ui/widgets/TextColor.h"

#include <QLabel>
#include <algorithm>

StartPage::StartPage(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto makeTitle = [this](const QString& text, int pixels) {
        auto* label = new ShadedLabel(text, this);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(pixels);
        f.setBold(true);
        f.setItalic(true);
        label->setFont(f);
        label->setTextColor(QColor(40, 80, 170));
        label->setOutline(QColor(10, 25, 80), 0.8);
        label->setShadow(QColor(0, 0, 0, 70), 2);
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    ExamCodeLabel = makeTitle(QStringLiteral("Exam VLX-210"), 30);
    ExamNameLabel = makeTitle(QStringLiteral("Administering Linux Servers"), 30);
    auto* prompt = new QLabel(QStringLiteral("Please select the practice exam you want to begin."), this);
    prompt->setObjectName(QStringLiteral("PromptLabel"));
    QFont promptFont(QStringLiteral("Verdana"));
    promptFont.setPixelSize(15);
    prompt->setFont(promptFont);
    prompt->setAlignment(Qt::AlignCenter);
    // The page is white whatever the system's colours: its text is dark.
    TextColor::set(prompt, Qt::black);

    const QColor purple(128, 0, 128), navy(0, 0, 128);
    static const char* const letters[] = {"&A", "&B", "&C", "&D", "&E"};
    for (int i = 0; i < 5; ++i) {
        fcShapeBtn[i] = new ShadedButton(QString::fromLatin1(letters[i]), purple, this);
        fcShapeBtn[i]->setFixedSize(30, 30);
    }
    AllQBtn = new ShadedButton(QStringLiteral("All &Questions"), navy, this);
    RandomBtn = new ShadedButton(QStringLiteral("&Random Exam"), navy, this);
    UserBtn = new ShadedButton(QStringLiteral("&User Exam"), navy, this);
    for (ShadedButton* b : {AllQBtn, RandomBtn, UserBtn})
        b->setFixedSize(109, 30);
    RetakeBtn = new ShadedButton(QStringLiteral("Retake &Incorrect"), navy, this);
    RetakeBtn->setFixedSize(AllQBtn->width() + 12, AllQBtn->height()); // the longest caption of the row
    SmartBtn = new ShadedButton(QStringLiteral("&Smart Review"), navy, this);
    SmartBtn->setFixedSize(AllQBtn->size());
    for (int i = 0; i < 5; ++i)
        connect(fcShapeBtn[i], &QPushButton::clicked, this, [this, i] { emit kindChosen(i); });
    // None of them is the exam window's default button: Return acts on the focus.
    for (ShadedButton* b : fcShapeBtn)
        b->setAutoDefault(false);
    for (ShadedButton* b : {AllQBtn, RandomBtn, UserBtn, RetakeBtn, SmartBtn})
        b->setAutoDefault(false);
    int k = 5;
    for (ShadedButton* b : {AllQBtn, RandomBtn, UserBtn, RetakeBtn, SmartBtn}) {
        connect(b, &QPushButton::clicked, this, [this, k] { emit kindChosen(k); });
        ++k;
    }
    nameControls({{ExamCodeLabel, "ExamCodeLabel"},
                  {ExamNameLabel, "ExamNameLabel"},
                  {AllQBtn, "AllQBtn"},
                  {RandomBtn, "RandomBtn"},
                  {UserBtn, "UserBtn"},
                  {RetakeBtn, "RetakeBtn"},
                  {SmartBtn, "SmartBtn"}});
    nameControls(fcShapeBtn, "fcShapeBtn");
}

void StartPage::centerButtons(int F)
{
    // Half the free room, an exact half going to the even neighbour.
    auto half = [](int room) { return int(roundHalfEven(std::max(room, 0), 2)); };
    const int top = 190;
    int left = half(F - 5 * fcShapeBtn[0]->width() - 30);
    for (ShadedButton* b : fcShapeBtn) {
        b->move(left, top);
        left += b->width() + 6;
    }
    int navyRow = -6;
    for (ShadedButton* b : {AllQBtn, RandomBtn, UserBtn, RetakeBtn, SmartBtn})
        navyRow += b->width() + 6;
    left = half(F - navyRow);
    for (ShadedButton* b : {AllQBtn, RandomBtn, UserBtn, RetakeBtn, SmartBtn}) {
        b->move(left, top + 50);
        left += b->width() + 6;
    }
    const int w = width();
    ExamCodeLabel->setGeometry(0, 30, w, 44);
    ExamNameLabel->setGeometry(0, 74, w, 44);
    if (auto* prompt = findChild<QLabel*>(QStringLiteral("PromptLabel")))
        prompt->setGeometry(0, 140, w, 30);
}
