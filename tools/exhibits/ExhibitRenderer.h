#pragma once

#include <QImage>
#include <QString>

// Draws an exhibit picture from its text source: optional "@title ..." and
// "@style console|paper" lines, then the text drawn verbatim in a fixed-pitch
// font. The same source always gives the same picture.
namespace ExhibitRenderer {
QImage render(const QString& source, QString* error);
}
