#pragma once

#include "core/transfer/ImportProgress.h"
#include "core/transfer/ImportResult.h"
#include "core/transfer/TransferItem.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// The Aiken text format: a question, its choices "A." or "A)" one per line,
// and "ANSWER: B"; "ANSWER: B, D" for multiple response, and an
// "EXPLANATION:" line after the answer. Aiken has no sections. Every text is
// one line: export writes line breaks as blanks.
class AikenFormat
{
public:
    static ImportResult read(const QByteArray& bytes, ImportProgress* progress = nullptr);
    // notes: what the file cannot carry of these items
    static QByteArray write(const QList<TransferItem>& items, QStringList* notes = nullptr);
};
