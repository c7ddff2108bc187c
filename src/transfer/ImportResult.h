#pragma once

#include "ImportProblem.h"
#include "TransferItem.h"

#include <QList>

// What reading a question file gives: the items, every problem (any problem
// means nothing may be imported) and the questions of kinds this program
// does not hold, which are left out.
struct ImportResult
{
    QList<TransferItem> items;
    QList<ImportProblem> problems;
    QList<ImportProblem> skipped;

    bool ok() const { return problems.isEmpty(); }
};
