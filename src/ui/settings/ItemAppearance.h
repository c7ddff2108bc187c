#pragma once

#include <QColor>
#include <QFont>

// The three texts of an item, each with a font and a colour of its own.
enum class ItemPart { Question, Answers, Explanation };

// The fonts and colours the exam window shows an item in.
struct ItemAppearance
{
    QFont questionFont;
    QFont answersFont;
    QFont explanationFont;
    QColor questionColor;
    QColor answersColor;
    QColor explanationColor;

    QFont font(ItemPart text) const
    {
        return text == ItemPart::Answers       ? answersFont
               : text == ItemPart::Explanation ? explanationFont
                                               : questionFont;
    }
    QColor color(ItemPart text) const
    {
        return text == ItemPart::Answers       ? answersColor
               : text == ItemPart::Explanation ? explanationColor
                                               : questionColor;
    }
    void setFont(ItemPart text, const QFont& font)
    {
        (text == ItemPart::Answers       ? answersFont
         : text == ItemPart::Explanation ? explanationFont
                                         : questionFont) = font;
    }
    void setColor(ItemPart text, const QColor& color)
    {
        (text == ItemPart::Answers       ? answersColor
         : text == ItemPart::Explanation ? explanationColor
                                         : questionColor) = color;
    }
};
