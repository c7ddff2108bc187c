#include "ui/exam/ItemView.h"

#include "ui/widgets/ControlNames.h"
#include "ui/widgets/TextColor.h"

#include "core/tables/Table.h"

#include "core/store/ItemRecord.h"

#include "ui/exam/ChoiceLabel.h"
#include "ui/exam/ChoiceRadio.h"
#include "ui/exam/TddgRunButton.h"
#include "ui/widgets/ItemText.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

namespace {
const QColor Aqua(0, 255, 255);

// The question and the explanation sit inside the answers' area; a font
// that resolves every property takes nothing (bold, italic, underline,
// strike-out) from the answers font around it.
QFont ownFont(QFont font)
{
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}
} // namespace

ItemView::ItemView(QWidget* parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(false);
    setBackgroundRole(QPalette::Base);
    ItemArea = new QWidget;
    ItemArea->setAutoFillBackground(true);
    QPalette white = ItemArea->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    ItemArea->setPalette(white);
    QFont design(QStringLiteral("MS Sans Serif"));
    design.setPointSize(10);
    ItemArea->setFont(design);

    QPanel = new QFrame(ItemArea);
    QText = new ItemText(QPanel); // wraps words, selectable with the mouse
    QText->setFont(ownFont(design));
    Shape1 = new QFrame(ItemArea);
    Shape1->setAutoFillBackground(true);
    // Its own role: it would otherwise take the scroll area's white Base.
    Shape1->setBackgroundRole(QPalette::Window);
    QPalette blue = Shape1->palette();
    blue.setColor(QPalette::Window, Qt::blue);
    Shape1->setPalette(blue);

    ExhBtnA = new QPushButton(QStringLiteral("Exhibit &1"), ItemArea);
    ExhBtnB = new QPushButton(QStringLiteral("Exhibit &2"), ItemArea);
    // Return pressed on an answer must not open an exhibit.
    ExhBtnA->setAutoDefault(false);
    ExhBtnB->setAutoDefault(false);
    ExhBtnA->setGeometry(1, 0, 93, 25);
    ExhBtnB->setGeometry(96, 0, 93, 25);
    connect(ExhBtnA, &QPushButton::clicked, this, [this] { emit exhibitClicked(1); });
    connect(ExhBtnB, &QPushButton::clicked, this, [this] { emit exhibitClicked(2); });
    CalcButton = new TddgRunButton(ItemArea);
    CalcButton->resize(37, 29);
    CalcButton->setAutoRaise(true);
    CalcButton->setToolTip(QStringLiteral("Calculator"));
    CalcButton->setAccessibleName(QStringLiteral("Calculator"));

    static const char* const letters[] = {"&a.", "&b.", "&c.", "&d.", "&e.", "&f."};
    for (int k = 0; k < 6; ++k) {
        RadioButton[k] = new ChoiceRadio(QString::fromLatin1(letters[k]), ItemArea);
        CheckBox[k] = new QCheckBox(QString::fromLatin1(letters[k]), ItemArea);
        RadioButton[k]->setGeometry(ItemLayout::ControlLeft, 0, 38, 17);
        CheckBox[k]->setGeometry(ItemLayout::ControlLeft, 0, 38, 17);
        ALabel[k] = new ChoiceLabel(ItemArea);
        RadioButton[k]->hide();
        CheckBox[k]->hide();
        ALabel[k]->hide();
        connect(RadioButton[k], &QRadioButton::toggled, this, [this](bool checked) {
            // Only a button that becomes checked reports; the group has
            // already unchecked the others.
            if (checked)
                emit radioChecked();
        });
        connect(CheckBox[k], &QCheckBox::toggled, this, [this, k] { emit checkBoxToggled(k + 1); });
        connect(ALabel[k], &ChoiceLabel::clicked, this, [this, k] { emit labelClicked(k + 1); });
    }
    ExpText = new ItemText(ItemArea); // wraps words, selectable with the mouse
    ExpText->setFont(ownFont(design));
    TextColor::set(ExpText, QColor(0, 0, 128));
    ExpText->hide();
    connect(QText, &ItemText::settled, this, &ItemView::refine);
    connect(ExpText, &ItemText::settled, this, &ItemView::refine);

    setWidget(ItemArea);
    hide();
    nameControls({{ItemArea, "ItemArea"},
                  {QPanel, "QPanel"},
                  {QText, "QText"},
                  {Shape1, "Shape1"},
                  {ExhBtnA, "ExhBtnA"},
                  {ExhBtnB, "ExhBtnB"},
                  {CalcButton, "CalcButton"},
                  {ExpText, "ExpText"}});
    nameControls(RadioButton, "RadioButton");
    nameControls(CheckBox, "CheckBox");
    nameControls(ALabel, "ALabel");
}

// ---- the layout pass ------------------------------------------------------------

int ItemView::textHeight(QLabel* label, int width) const
{
    const int h = label->heightForWidth(width);
    return h > 0 ? h : QFontMetrics(label->font()).height();
}

int ItemView::textHeightUpTo(ItemText* text, int width, int limit) const
{
    const int h = text->heightUpTo(width, limit);
    return h > 0 ? h : QFontMetrics(text->font()).height();
}

int ItemView::provisionalHeight(ItemText* text, int width, int shown) const
{
    const int h = text->provisionalHeight(width, shown);
    return h > 0 ? h : QFontMetrics(text->font()).height();
}

void ItemView::display(const Item& item, QSize viewport)
{
    // Hidden for the whole pass, and back at the top.
    hide();
    verticalScrollBar()->setValue(0);

    QText->setText(item.question);
    for (int k = 0; k < 6; ++k) {
        const QString& text = item.choices[k];
        const bool filled = !text.isEmpty();
        if (filled) {
            ALabel[k]->setText(text);
            // A screen reader reads the letter with its choice.
            const QString name = QStringLiteral("%1. %2").arg(QChar('a' + k)).arg(text);
            RadioButton[k]->setAccessibleName(name);
            CheckBox[k]->setAccessibleName(name);
        }
        ALabel[k]->setVisible(filled);
        RadioButton[k]->setVisible(filled && !item.multiple);
        CheckBox[k]->setVisible(filled && item.multiple);
    }
    ExhBtnA->setVisible(item.exhibit1);
    ExhBtnB->setVisible(item.exhibit2);
    ExpText->setText(item.explanation);

    // The question is wrapped at the full width unless the content is then
    // taller than the viewport, and at the inner width (the scroll bar's room
    // taken off) if it is. Every height below the question's grows with it
    // pixel for pixel, so that is known once the question (and a shown
    // explanation) passes the room the rest leaves: a long text is laid out
    // no further for it.
    const int W = qMax(viewport.width(), 100);
    m_viewportHeight = viewport.height();
    m_multiple = item.multiple;
    ItemLayout::Input in;
    in.W = W;
    in.C = W;
    for (int k = 0; k < 6; ++k) {
        in.choiceVisible[k] = !ALabel[k]->isHidden();
        in.choiceHeights[k] = textHeight(ALabel[k], ItemLayout::choiceWidth(W));
    }
    const ItemLayout::Result bare = ItemLayout::compute(in);
    int room = m_viewportHeight - (m_explanationShown ? bare.explanationBottom : bare.choicesBottom);
    in.questionHeight = textHeightUpTo(QText, ItemLayout::questionWidth(W), room);
    bool fits = in.questionHeight <= room;
    if (fits && m_explanationShown) {
        room -= in.questionHeight;
        in.explanationHeight = textHeightUpTo(ExpText, ItemLayout::explanationWidth(W), room);
        fits = in.explanationHeight <= room;
    }
    if (!fits) {
        in.C = W - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        in.questionHeight = provisionalHeight(QText, ItemLayout::questionWidth(in.C), m_viewportHeight);
    }
    m_in = in;
    m_item = item;
    // A hidden explanation is measured when it is shown.
    m_explanationMeasured = fits && m_explanationShown;
    if (!fits && m_explanationShown)
        measureExplanation();
    m_placed = true;
    place();
}

void ItemView::measureExplanation()
{
    const int top = ItemLayout::compute(m_in).explanationTop;
    m_in.explanationHeight = provisionalHeight(ExpText, ItemLayout::explanationWidth(m_in.W),
                                               verticalScrollBar()->value() + m_viewportHeight - top);
    m_explanationMeasured = true;
}

void ItemView::place()
{
    const ItemLayout::Input& in = m_in;
    const ItemLayout::Result r = ItemLayout::compute(in);
    QPanel->setGeometry(0, 0, in.C, r.panelHeight);
    QText->setGeometry(ItemLayout::Border, ItemLayout::Border, ItemLayout::questionWidth(in.C),
                       in.questionHeight);
    Shape1->setGeometry(0, r.panelHeight, in.C, 1);
    ExhBtnA->move(1, r.buttonsTop);
    ExhBtnB->move(96, r.buttonsTop);
    CalcButton->setGeometry(r.calcLeft, r.buttonsTop, 37, 29);
    for (int k = 0; k < 6; ++k) {
        ALabel[k]->setGeometry(ItemLayout::ChoiceLeft, r.choiceTops[k], ItemLayout::choiceWidth(in.W),
                               in.choiceHeights[k]);
        if (m_multiple)
            CheckBox[k]->move(ItemLayout::ControlLeft, r.choiceTops[k]);
        else
            RadioButton[k]->move(ItemLayout::ControlLeft, r.choiceTops[k]);
    }
    ExpText->setGeometry(ItemLayout::ExplanationLeft, r.explanationTop, ItemLayout::explanationWidth(in.W),
                         m_explanationMeasured ? in.explanationHeight : 0);
    m_choicesBottom = r.choicesBottom;
    m_explanationBottom = r.explanationBottom;
    ItemArea->setFixedWidth(in.C);
    applyContentHeight();
}

ItemView::Item ItemView::itemOf(Table& record)
{
    using namespace ItemRecord;
    Item item;
    item.multiple = record.fieldByName(Q_TYPE).asBoolean();
    item.question = record.fieldByName(Q_TEXT).asString();
    for (int k = 0; k < 6; ++k)
        item.choices[k] = record.fieldByName(choiceText(k + 1)).asString();
    item.exhibit1 = !record.fieldByName(PICT1).asString().isEmpty();
    item.exhibit2 = !record.fieldByName(PICT2).asString().isEmpty();
    item.explanation = record.fieldByName(Q_EXPL).asString();
    return item;
}

std::array<std::uint8_t, 6> ItemView::checkedChoices() const
{
    std::array<std::uint8_t, 6> choices{};
    for (int k = 0; k < 6; ++k)
        choices[k] = (m_multiple ? CheckBox[k]->isChecked() : RadioButton[k]->isChecked()) ? 1 : 0;
    return choices;
}

void ItemView::showChoices(const std::array<std::uint8_t, 6>& choices)
{
    for (int k = 0; k < 6; ++k) {
        if (m_multiple)
            CheckBox[k]->setChecked(choices[k] != 0);
        else
            RadioButton[k]->setChoiceChecked(choices[k] != 0);
    }
}

// A text laid out whole since it was placed: its exact height moves what is below it.
void ItemView::refine()
{
    if (!m_placed)
        return;
    m_in.questionHeight = provisionalHeight(QText, ItemLayout::questionWidth(m_in.C), 0);
    if (m_explanationMeasured)
        m_in.explanationHeight = provisionalHeight(ExpText, ItemLayout::explanationWidth(m_in.W), 0);
    place();
}

bool ItemView::isSettled() const
{
    return !m_placed ||
           (QText->isSettled(ItemLayout::questionWidth(m_in.C)) &&
            (!m_explanationMeasured || ExpText->isSettled(ItemLayout::explanationWidth(m_in.W))));
}

void ItemView::applyContentHeight()
{
    const int bottom = ExpText->isHidden() ? m_choicesBottom : m_explanationBottom;
    ItemArea->setFixedHeight(qMax(bottom, m_viewportHeight));
}

void ItemView::showAnswers(bool shown, const std::array<bool, 6>& correct)
{
    ExpText->setVisible(shown);
    for (int k = 0; k < 6; ++k)
        ALabel[k]->setBackground(shown && correct[k] ? Aqua : QColor(Qt::white));
    m_explanationShown = shown;
    if (shown && m_placed && !m_explanationMeasured) {
        measureExplanation();
        place();
    }
    applyContentHeight();
}

void ItemView::pickChoice(int k)
{
    if (!RadioButton[k - 1]->isHidden())
        RadioButton[k - 1]->setChecked(true);
    else
        CheckBox[k - 1]->toggle();
}

bool ItemView::hasChoice(int k) const
{
    return m_placed && k >= 1 && k <= 6 && !ALabel[k - 1]->isHidden();
}

QString ItemView::questionText() const
{
    return QText->text();
}

void ItemView::setCalculatorShown(bool shown)
{
    CalcButton->setVisible(shown);
}

void ItemView::setCalculator(const QString& path)
{
    CalcButton->setCommandLine(path);
}

bool ItemView::takeCalculator(const QString& path)
{
    return CalcButton->takeCommandLine(path);
}

// ---- fonts and colours ------------------------------------------------------------

QFont ItemView::questionFont() const
{
    return QText->font();
}

QFont ItemView::answersFont() const
{
    return ItemArea->font();
}

QFont ItemView::explanationFont() const
{
    return ExpText->font();
}

void ItemView::setQuestionFont(const QFont& font)
{
    QText->setFont(ownFont(font));
}

void ItemView::setAnswersFont(const QFont& font)
{
    ItemArea->setFont(ownFont(font));
}

void ItemView::setExplanationFont(const QFont& font)
{
    ExpText->setFont(ownFont(font));
}

QColor ItemView::questionColor() const
{
    return QText->palette().color(QPalette::WindowText);
}

QColor ItemView::answersColor() const
{
    return ItemArea->palette().color(QPalette::WindowText);
}

QColor ItemView::explanationColor() const
{
    return ExpText->palette().color(QPalette::WindowText);
}

void ItemView::setQuestionColor(const QColor& color)
{
    TextColor::set(QText, color);
}

void ItemView::setAnswersColor(const QColor& color)
{
    // The item area's colour reaches every text in it without a colour of its own.
    QPalette p = ItemArea->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::ButtonText, color);
    p.setColor(QPalette::Text, color);
    ItemArea->setPalette(p);
    for (ChoiceLabel* label : ALabel)
        TextColor::set(label, color);
    TextColor::set(QText, questionColor());
    TextColor::set(ExpText, explanationColor());
}

void ItemView::setExplanationColor(const QColor& color)
{
    TextColor::set(ExpText, color);
}

ItemAppearance ItemView::appearance() const
{
    return {questionFont(),  answersFont(),  explanationFont(),
            questionColor(), answersColor(), explanationColor()};
}

void ItemView::setAppearance(const ItemAppearance& shown)
{
    setQuestionFont(shown.questionFont);
    setAnswersFont(shown.answersFont);
    setExplanationFont(shown.explanationFont);
    setQuestionColor(shown.questionColor);
    setAnswersColor(shown.answersColor);
    setExplanationColor(shown.explanationColor);
}

void ItemView::setPartFont(ItemPart text, const QFont& font)
{
    ItemAppearance shown = appearance();
    shown.setFont(text, font);
    setAppearance(shown);
    relayout();
}

void ItemView::relayout()
{
    if (!m_placed)
        return;
    // The texts' heights follow the new font at once; the answers ticked,
    // the explanation shown and the place scrolled to stay.
    const bool visible = !isHidden();
    const int scrolled = verticalScrollBar()->value();
    display(m_item, QSize(m_in.W, m_viewportHeight));
    setVisible(visible);
    verticalScrollBar()->setValue(scrolled);
}

void ItemView::setPartColor(ItemPart text, const QColor& color)
{
    ItemAppearance shown = appearance();
    shown.setColor(text, color);
    setAppearance(shown);
}
