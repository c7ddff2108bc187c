#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Draws an exhibit picture from its text source: optional "@title ..." and
// "@style console|paper" lines, then the text drawn verbatim in a fixed-pitch
// font. The same source always gives the same picture.
//
// The picture grows to fit its widest line and its title, up to the width of
// a full 100-column exhibit; a longer title is wrapped at blanks.
namespace ExhibitRenderer {
QImage render(const QString& source, QString* error);

// The texts of the picture render() draws that do not fit inside it (a title
// word too long to wrap, a line of wide characters), each quoted; empty when
// every text is whole. Fills error and returns an empty list when the source
// cannot be drawn at all.
QStringList clippedTexts(const QString& source, QString* error);
} // namespace ExhibitRenderer
