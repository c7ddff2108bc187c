#include "ui/exam/ExamHeader.h"

#include "ui/widgets/ControlNames.h"
#include "ui/widgets/TextColor.h"

#include "ui/widgets/ShadedLabel.h"

#include <QCheckBox>
#include <QLabel>

namespace {
// A light strip: the verdict "Correct" in blue and "Review items" in navy
// need a contrast of 4.5:1 or more, so the header's other texts are dark.
const QColor HeaderColor(220, 230, 246);
const QColor HeaderText(0, 0, 128);
const QColor HeaderShadow(255, 255, 255, 180);
const QColor TimeRunningOutText(192, 0, 0);

QFont verdana13(bool bold)
{
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(13);
    f.setBold(bold);
    return f;
}

} // namespace

ExamHeader::ExamHeader(QWidget* parent) : QFrame(parent)
{
    setFixedHeight(45);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, HeaderColor);
    setPalette(p);

    fcLabel1 = new ShadedLabel(QStringLiteral("Velarix 2.0"), this);
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(30);
    title.setBold(true);
    title.setItalic(true);
    fcLabel1->setFont(title);
    fcLabel1->setTextColor(Qt::white);
    fcLabel1->setOutline(QColor(20, 40, 90), 1.5);
    fcLabel1->setShadow(QColor(0, 0, 0, 140), 2);
    fcLabel1->setAlignment(Qt::AlignCenter);

    Label1 = new ShadedLabel(QString(), this);
    Label1->setFont(verdana13(true));
    Label1->setTextColor(HeaderText);
    Label1->setShadow(HeaderShadow, 1);
    Label1->move(4, 4);

    Label2 = new QLabel(this);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setFont(verdana13(false));
    TextColor::set(Label2, Qt::black);
    Label2->move(124, 4);

    Label3 = new QLabel(this);
    Label3->setTextFormat(Qt::PlainText);
    Label3->setFont(verdana13(true));
    TextColor::set(Label3, QColor(96, 96, 96));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    MarkBox = new QCheckBox(QStringLiteral("&Mark this item"), this);
    MarkBox->setFont(verdana13(true));
    TextColor::set(MarkBox, Qt::black);
    // The black tick on a white box, as on the header's light colour.
    QPalette markBox = MarkBox->palette();
    markBox.setColor(QPalette::Base, Qt::white);
    markBox.setColor(QPalette::Window, HeaderColor);
    MarkBox->setPalette(markBox);
    MarkBox->move(4, 24);
    MarkBox->adjustSize();

    CorrectLabel = new ShadedLabel(QString(), this);
    CorrectLabel->setFont(verdana13(true));
    CorrectLabel->setShadow(QColor(255, 255, 255, 120), 1);
    CorrectLabel->move(4, 24);

    TimeLabel = new ShadedLabel(QString(), this);
    TimeLabel->setFont(verdana13(true));
    TimeLabel->setTextColor(HeaderText);
    TimeLabel->setShadow(HeaderShadow, 1);
    TimeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    ReviewLabel = new QLabel(QStringLiteral("Review items"), this);
    ReviewLabel->setFont(verdana13(true));
    TextColor::set(ReviewLabel, QColor(0, 0, 128));
    ReviewLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, Label3, MarkBox, CorrectLabel,
                                                      TimeLabel, ReviewLabel})
        w->hide();
    connect(MarkBox, &QCheckBox::toggled, this, &ExamHeader::markToggled);
    nameControls({{fcLabel1, "fcLabel1"},
                  {Label1, "Label1"},
                  {Label2, "Label2"},
                  {Label3, "Label3"},
                  {MarkBox, "MarkBox"},
                  {CorrectLabel, "CorrectLabel"},
                  {TimeLabel, "TimeLabel"},
                  {ReviewLabel, "ReviewLabel"}});
}

void ExamHeader::showFor(ExamMode mode)
{
    const bool open = mode != ExamMode::Idle;
    const bool testing = mode == ExamMode::Testing;
    const bool reviewing = mode == ExamMode::Reviewing;
    fcLabel1->setVisible(!open);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label2, Label3})
        w->setVisible(open);
    MarkBox->setVisible(testing);
    TimeLabel->setVisible(testing);
    CorrectLabel->setVisible(reviewing);
    ReviewLabel->setVisible(reviewing);
}

void ExamHeader::showPosition(int recNo, int itemCount, qint64 itemId)
{
    Label1->setText(QStringLiteral("Item %1 of %2").arg(recNo).arg(itemCount));
    Label2->setText(QStringLiteral("Item ID: %1").arg(itemId));
    align();
}

void ExamHeader::align()
{
    fcLabel1->setGeometry(0, 0, width(), height());
    for (QLabel* label : {static_cast<QLabel*>(Label1), Label2, static_cast<QLabel*>(CorrectLabel)})
        label->adjustSize();
    // The labels on the right keep to the right edge.
    Label3->adjustSize();
    Label3->move(width() - Label3->width() - 6, 4);
    TimeLabel->adjustSize();
    TimeLabel->move(width() - TimeLabel->width() - 6, 24);
    ReviewLabel->adjustSize();
    ReviewLabel->move(width() - ReviewLabel->width() - 6, 24);
}

void ExamHeader::showTitle(const QString& title)
{
    Label3->setText(title);
    align();
}

void ExamHeader::showMark(bool marked)
{
    MarkBox->setChecked(marked);
}

void ExamHeader::showVerdict(bool correct, bool shown)
{
    if (correct) {
        CorrectLabel->setText(QStringLiteral("Correct"));
        CorrectLabel->setTextColor(QColor(0, 0, 255));
    } else {
        CorrectLabel->setText(QStringLiteral("Incorrect"));
        CorrectLabel->setTextColor(QColor(255, 0, 0));
    }
    CorrectLabel->adjustSize();
    CorrectLabel->setVisible(shown);
}

void ExamHeader::showClock(const QString& text, bool shown)
{
    TimeLabel->setVisible(shown);
    TimeLabel->setText(text);
    align();
}

void ExamHeader::setTimeRunningOut(bool runningOut)
{
    // Red that reads on the header's own light colour, whatever the system's.
    TimeLabel->setTextColor(runningOut ? TimeRunningOutText : HeaderText);
}

bool ExamHeader::timeRunningOut() const
{
    return TimeLabel->textColor() == TimeRunningOutText;
}

void ExamHeader::showTime(const QString& text)
{
    TimeLabel->setText(text);
    TimeLabel->adjustSize();
    TimeLabel->move(width() - TimeLabel->width() - 6, 24);
}

void ExamHeader::hideClock()
{
    TimeLabel->hide();
}
