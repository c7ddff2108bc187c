#pragma once

#include <QFile>
#include <QString>

// Opens a file for reading only when it is a regular file: a named pipe, a
// device, a socket or a folder is refused at once, before anything is read
// from it (a pipe would wait for a writer for ever). False with the
// reason in *error ("is not a regular file", or the system's text).
bool openRegularFile(QFile* file, const QString& path, QString* error);
