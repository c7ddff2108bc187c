#pragma once

#include "core/transfer/ImportProgress.h"
#include "core/transfer/ImportResult.h"
#include "core/transfer/TransferItem.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// Comma-separated values (RFC 4180, UTF-8) with a header row:
//   section,type,question,a,b,c,d,e,f,correct,explanation
// section 1-6 or a section name, type "single" or "multiple", correct the
// letters ("B", "A;C"). Columns are found by name; multi-line texts stand in
// quoted fields. A file whose header has no comma but semicolons is read with
// semicolons, as some spreadsheets write it.
class CsvFormat
{
public:
    static ImportResult read(const QByteArray& bytes, ImportProgress* progress = nullptr);
    static QByteArray write(const QList<TransferItem>& items);
};
