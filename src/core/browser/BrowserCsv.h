#pragma once

#include "core/browser/QuestionIndex.h"

#include <QString>
#include <vector>

// The browser's list as CSV: a heading line, then one line per item shown,
// the columns in the order shown. Fields with a comma, a quote or a line
// break are quoted, quotes doubled; lines end in CRLF.
namespace BrowserCsv {

QString text(const QuestionIndex& index, const std::vector<int>& rows, const std::vector<int>& columns);
// Writes the text as UTF-8; false and the reason when the file cannot be written.
bool write(const QString& fileName, const QString& text, QString* error);

} // namespace BrowserCsv
