#pragma once

#include <QString>

// A stored font: face name, colour (red in the low byte, green in the next,
// blue in the third), size in points, bold and italic.
struct FontSetting
{
    QString name; // empty: the face stays as it is
    qint64 color = 0;
    int size = 10;
    bool bold = false;
    bool italic = false;
};
