#include "ui/settings/StoredFont.h"

#include "core/settings/SettingsStore.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <cmath>

namespace StoredFont {

void apply(const FontSetting& stored, QFont& font, QColor& color)
{
    if (!stored.name.isEmpty())
        font.setFamily(SettingsStore::cutFaceName(stored.name));
    color = toColor(stored.color);
    // A size of 0 or less, or an absurd one, would leave no readable text.
    if (stored.size >= MinSize && stored.size <= MaxSize)
        font.setPointSize(stored.size);
    if (stored.bold)
        font.setBold(true);
    if (stored.italic)
        font.setItalic(true);
}

FontSetting fromFont(const QFont& font, const QColor& color)
{
    FontSetting s;
    s.name = SettingsStore::cutFaceName(font.family());
    s.color = toStored(color);
    if (font.pointSize() > 0) {
        s.size = font.pointSize();
    } else if (font.pixelSize() > 0) {
        s.size = int(std::lround(font.pixelSize() * 72.0 / 96.0));
    }
    s.bold = font.bold();
    s.italic = font.italic();
    return s;
}

QFont installedFace(const QFont& font)
{
    if (QFontDatabase::hasFamily(font.family()))
        return font;
    QString face;
    for (const QString& substitute : QFont::substitutes(font.family())) {
        if (QFontDatabase::hasFamily(substitute)) {
            face = substitute;
            break;
        }
    }
    if (face.isEmpty())
        face = QFontInfo(font).family(); // what the font is drawn in
    // Substitutes are kept in lower case: the face as the system names it.
    for (const QString& family : QFontDatabase::families()) {
        if (family.compare(face, Qt::CaseInsensitive) == 0) {
            face = family;
            break;
        }
    }
    QFont shown = font;
    shown.setFamilies({face});
    return shown;
}

bool sameChoice(const QFont& a, const QFont& b)
{
    return a.family() == b.family() && a.pointSizeF() == b.pointSizeF() && a.pixelSize() == b.pixelSize() &&
           a.bold() == b.bold() && a.italic() == b.italic();
}

QColor toColor(qint64 stored)
{
    const quint32 value = quint32(stored);
    if ((value & 0xFF000000u) == 0xFF000000u)
        return QGuiApplication::palette().color(QPalette::WindowText);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

qint64 toStored(const QColor& color)
{
    return qint64(color.red()) | (qint64(color.green()) << 8) | (qint64(color.blue()) << 16);
}

void apply(const SettingsStore::Values& stored, ItemAppearance& shown)
{
    apply(stored.question, shown.questionFont, shown.questionColor);
    apply(stored.answers, shown.answersFont, shown.answersColor);
    apply(stored.explanation, shown.explanationFont, shown.explanationColor);
}

void store(const ItemAppearance& shown, SettingsStore::Values& values)
{
    values.question = fromFont(shown.questionFont, shown.questionColor);
    values.answers = fromFont(shown.answersFont, shown.answersColor);
    values.explanation = fromFont(shown.explanationFont, shown.explanationColor);
}

} // namespace StoredFont
