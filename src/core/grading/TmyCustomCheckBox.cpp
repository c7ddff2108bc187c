#include "core/grading/TmyCustomCheckBox.h"

#include "core/grading/TmyCheckBox.h"
#include "core/grading/TmyDBCheckBox.h"
#include "core/reports/ReportRegistry.h"

namespace {
// A quarter of an inch: 24 of the screen's 96 pixels per inch, in millimetres.
constexpr double DefaultSize = 24.0 / 96 * 25.4;
} // namespace

TmyCustomCheckBox::TmyCustomCheckBox(const QString& name) : ReportComponent(name)
{
    Width = DefaultSize;
    Height = DefaultSize;
    Color = ReportColor::white();
}

QStringList TmyCustomCheckBox::styleNames()
{
    return {QStringLiteral("Checkmark and Box"), QStringLiteral("X and Box"),
            QStringLiteral("Checkmark only"), QStringLiteral("X only")};
}

int TmyCustomCheckBox::glyph(TmyCheckStyleType style, bool checked)
{
    switch (style) {
    case csCheckInBox:
        return checked ? 0xFE : 0xA8;
    case csXInBox:
        return checked ? 0xFD : 0xA8;
    case csCheckMark:
        return checked ? 0xFC : 0x20;
    case csXMark:
        return checked ? 0xFB : 0x20;
    }
    return 0x20;
}

void TmyCustomCheckBox::setStyle(TmyCheckStyleType style)
{
    m_style = style;
    changed();
}

ComponentLayout TmyCustomCheckBox::layout(const PrintContext& context) const
{
    ReportElement e;
    e.kind = ReportElement::Kind::Symbol;
    e.name = Name;
    e.rect = QRectF(0, 0, Width, Height);
    e.symbol = glyph(m_style, isChecked(context));
    e.symbolFont = SymbolFont;
    e.alignment = Qt::AlignLeft;
    e.transparent = Transparent;
    e.background = Color;
    return {Height, {e}};
}

namespace {
// Both kinds are offered to a report designer for as long as the program runs.
struct Registration
{
    Registration()
    {
        ReportRegistry::registerComponent({QStringLiteral("TmyCheckBox"),
                                           QStringLiteral("Standard Components"), QStringLiteral("CheckBox"),
                                           [] { return std::make_unique<TmyCheckBox>(); }});
        ReportRegistry::registerComponent({QStringLiteral("TmyDBCheckBox"), QStringLiteral("Data Components"),
                                           QStringLiteral("DBCheckBox"),
                                           [] { return std::make_unique<TmyDBCheckBox>(); }});
    }
    ~Registration()
    {
        ReportRegistry::unregisterComponent(QStringLiteral("TmyCheckBox"));
        ReportRegistry::unregisterComponent(QStringLiteral("TmyDBCheckBox"));
    }
};
const Registration registration;
} // namespace
