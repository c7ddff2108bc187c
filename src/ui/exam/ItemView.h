#pragma once

#include "core/exam/ItemLayout.h"
#include "ui/settings/ItemAppearance.h"

#include <QColor>
#include <QFont>
#include <QScrollArea>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>

class QCheckBox;
class Table;
class QFrame;
class QLabel;
class QPushButton;
class ChoiceLabel;
class ItemText;
class ChoiceRadio;
class TddgRunButton;

// The item area of the exam window: the question in its panel, the exhibit
// and calculator buttons, the six choice rows and the explanation, laid out
// top to bottom by ItemLayout. It shows what it is given and reports what the
// candidate does; the answers and their meaning stay with the window.
class ItemView : public QScrollArea
{
    Q_OBJECT
public:
    // What one item shows.
    struct Item
    {
        QString question;
        std::array<QString, 6> choices; // an empty text hides its row
        bool multiple = false;          // check boxes instead of radio buttons
        bool exhibit1 = false;
        bool exhibit2 = false;
        QString explanation;
    };

    explicit ItemView(QWidget* parent = nullptr);

    // Hides the area, shows the item from the top and lays it out for a
    // viewport of `viewport`; the caller restores the answers, then shows
    // the area again.
    void display(const Item& item, QSize viewport);
    // What the current record of an exam set or a bank shows.
    static Item itemOf(Table& record);
    // The choices' radio buttons or check boxes, as the item shown has them.
    std::array<std::uint8_t, 6> checkedChoices() const;
    void showChoices(const std::array<std::uint8_t, 6>& choices);
    // The explanation and the correct choices' aqua background, on or off.
    void showAnswers(bool shown, const std::array<bool, 6>& correct);
    // Whether every shown text is laid out whole and the geometry final. A
    // long text is shown while the rest of it is still being laid out; the
    // parts below it then sit at its estimated end until it is.
    bool isSettled() const;
    // A click on choice k's text (1..6) acts on its radio button or check box.
    void pickChoice(int k);
    // Whether the item shown has a choice k (1..6).
    bool hasChoice(int k) const;

    // The question's text as shown.
    QString questionText() const;
    // The calculator button: shown or hidden, and the program it runs.
    void setCalculatorShown(bool shown);
    // Raises std::runtime_error for a path that cannot be run (TddgRunButton).
    void setCalculator(const QString& path);
    // False when the path was not taken (TddgRunButton::takeCommandLine).
    bool takeCalculator(const QString& path);

    // All three fonts and colours at once, or one text's.
    ItemAppearance appearance() const;
    void setAppearance(const ItemAppearance& shown);
    void setPartFont(ItemPart text, const QFont& font);
    void setPartColor(ItemPart text, const QColor& color);

signals:
    // A radio button became checked; the group has already unchecked the others.
    void radioChecked();
    void checkBoxToggled(int k); // 1..6
    void labelClicked(int k);    // 1..6
    void exhibitClicked(int n);  // 1 or 2

private:
    QFont questionFont() const;
    QFont answersFont() const;
    QFont explanationFont() const;
    void setQuestionFont(const QFont& font);
    void setAnswersFont(const QFont& font);
    void setExplanationFont(const QFont& font);
    QColor questionColor() const;
    QColor answersColor() const;
    QColor explanationColor() const;
    void setQuestionColor(const QColor& color);
    void setAnswersColor(const QColor& color);
    void setExplanationColor(const QColor& color);

    // The height of the label's text wrapped at `width`.
    int textHeight(QLabel* label, int width) const;
    // The same for an item text, up to `limit` (above it, some height above it).
    int textHeightUpTo(ItemText* text, int width, int limit) const;
    // The same, exact or, while the text is being laid out, estimated.
    int provisionalHeight(ItemText* text, int width, int shown) const;
    void measureExplanation();
    void place();
    void refine();
    void applyContentHeight();
    // Lays the item shown out again, as after a change of its fonts.
    void relayout();

    ItemLayout::Input m_in; // the item shown, its widths and heights
    Item m_item;            // its texts
    bool m_multiple = false;
    bool m_placed = false;              // an item is shown
    bool m_explanationMeasured = false; // m_in.explanationHeight is the explanation's
    bool m_explanationShown = false;
    int m_choicesBottom = 0;
    int m_explanationBottom = 0;
    int m_viewportHeight = 0;

    QWidget* ItemArea = nullptr; // the scrolled content
    QFrame* QPanel = nullptr;
    ItemText* QText = nullptr;
    QFrame* Shape1 = nullptr;
    QPushButton* ExhBtnA = nullptr;
    QPushButton* ExhBtnB = nullptr;
    TddgRunButton* CalcButton = nullptr;
    std::array<ChoiceRadio*, 6> RadioButton{};
    std::array<QCheckBox*, 6> CheckBox{};
    std::array<ChoiceLabel*, 6> ALabel{};
    ItemText* ExpText = nullptr;
};
