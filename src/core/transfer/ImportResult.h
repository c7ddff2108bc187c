#pragma once

#include "core/transfer/ImportProblem.h"
#include "core/transfer/TransferItem.h"

#include <QList>

// What reading a question file gives: the items, every problem (any problem
// means nothing may be imported) and the questions of kinds this program
// does not hold, which are left out. A reading the user cancelled gives
// nothing to import.
struct ImportResult
{
    QList<TransferItem> items;
    QList<ImportProblem> problems;
    QList<ImportProblem> skipped;
    bool cancelled = false;
    QString format; // the format the file was read in: "GIFT", "Aiken" or "CSV"

    bool ok() const { return problems.isEmpty() && !cancelled; }
};
