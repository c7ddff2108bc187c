#pragma once

#include "core/history/HistoryAttempt.h"

#include <QString>
#include <vector>

// The score history as comma-separated text: a header line, then one line
// per attempt in the order given. Texts holding a comma, a quote or a line
// break are quoted, with quotes doubled.
namespace HistoryCsv {
QString text(const std::vector<HistoryAttempt>& attempts);
// Writes text(attempts) as UTF-8; false with a message when it cannot.
bool write(const QString& fileName, const std::vector<HistoryAttempt>& attempts, QString* error);
// "h:mm:ss", hours from 0.
QString duration(qint64 seconds);
} // namespace HistoryCsv
