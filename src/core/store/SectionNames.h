#pragma once

#include <QString>
#include <QStringList>

// The six exam sections, numbered 1 to 6 by an item's Q_SECT.
namespace SectionNames {
constexpr int Count = 6;
QStringList all();
QString name(int section); // empty outside 1..6
} // namespace SectionNames
