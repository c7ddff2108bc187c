#pragma once

#include "core/reports/ReportComponent.h"

#include <QString>
#include <QStringList>

// How a printable check box looks.
enum TmyCheckStyleType { csCheckInBox, csXInBox, csCheckMark, csXMark };

// A report element that prints one check-box character of the Wingdings
// symbol font, checked or not, in one of four styles. The glyph is a text
// drawing as high as the element, so it grows and shrinks with it.
class TmyCustomCheckBox : public ReportComponent
{
public:
    explicit TmyCustomCheckBox(const QString& name = QString());

    // The names under which the styles are offered, in style order.
    static QStringList styleNames();
    // The Wingdings character of a style and state: 0xFE, 0xFD, 0xFC, 0xFB
    // when checked; the empty box 0xA8, or the blank 0x20 for the marks only.
    static int glyph(TmyCheckStyleType style, bool checked);
    static inline const QString SymbolFont = QStringLiteral("Wingdings");

    TmyCheckStyleType Style() const { return m_style; }
    void setStyle(TmyCheckStyleType style);

    // The state it prints with for the current record.
    virtual bool isChecked(const PrintContext& context) const = 0;
    ComponentLayout layout(const PrintContext& context) const override;

protected:
    TmyCheckStyleType m_style = csCheckInBox;
};
