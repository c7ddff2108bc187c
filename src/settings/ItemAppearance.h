#pragma once

#include <QColor>
#include <QFont>

// The three texts of an item, each with a font and a colour of its own.
enum class ItemText { Question, Answers, Explanation };

// The fonts and colours the exam window shows an item in.
struct ItemAppearance
{
    QFont questionFont;
    QFont answersFont;
    QFont explanationFont;
    QColor questionColor;
    QColor answersColor;
    QColor explanationColor;

    QFont font(ItemText text) const
    {
        return text == ItemText::Answers       ? answersFont
               : text == ItemText::Explanation ? explanationFont
                                               : questionFont;
    }
    QColor color(ItemText text) const
    {
        return text == ItemText::Answers       ? answersColor
               : text == ItemText::Explanation ? explanationColor
                                               : questionColor;
    }
    void setFont(ItemText text, const QFont& font)
    {
        (text == ItemText::Answers       ? answersFont
         : text == ItemText::Explanation ? explanationFont
                                         : questionFont) = font;
    }
    void setColor(ItemText text, const QColor& color)
    {
        (text == ItemText::Answers       ? answersColor
         : text == ItemText::Explanation ? explanationColor
                                         : questionColor) = color;
    }
};
