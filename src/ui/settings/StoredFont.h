#pragma once

#include "core/settings/FontSetting.h"
#include "core/settings/SettingsStore.h"
#include "ui/settings/ItemAppearance.h"

#include <QColor>
#include <QFont>

// Between a stored font and the font and text colour of a control.
namespace StoredFont {

// Applies a loaded font over `font` and `color`: the face only when one is
// stored, then colour and size; bold and italic are only added.
void apply(const FontSetting& stored, QFont& font, QColor& color);
// What is stored of a font: face, colour, size in points, bold, italic.
FontSetting fromFont(const QFont& font, const QColor& color);
// The three stored fonts of an item over `shown`, and `shown` into what is stored.
void apply(const SettingsStore::Values& stored, ItemAppearance& shown);
void store(const ItemAppearance& shown, SettingsStore::Values& values);

// The font as the system shows it: its own face when that is installed,
// else the installed face the system puts in its place; size, bold and
// italic kept. A font chooser opened on it finds the face and its styles.
QFont installedFace(const QFont& font);
// The same choice in a font chooser: face, size, bold and italic.
bool sameChoice(const QFont& a, const QFont& b);

// Colours are stored as red in the low byte, green in the next and blue in
// the third. A value with the top byte set names a system colour, taken as
// the system's window-text colour.
QColor toColor(qint64 stored);
qint64 toStored(const QColor& color);

// Sizes outside this range leave the font at its size.
constexpr int MinSize = 1;
constexpr int MaxSize = 500;

} // namespace StoredFont
