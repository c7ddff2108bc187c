#pragma once

#include <QByteArray>
#include <QString>

// The fuzz targets that read files: each input is written to a fresh file in
// one private folder, under a name with the given extension, and the file is
// removed once the target is done with it.
namespace FuzzFile {

// Starts the Qt application object the loaders need (offscreen, no windows).
void startApplication();

// A new file holding `data`, named "input<n>.<extension>".
QString write(const QByteArray& data, const QString& extension);
void remove(const QString& path);

} // namespace FuzzFile
