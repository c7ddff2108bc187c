#pragma once

#include "core/transfer/ImportProgress.h"
#include "core/transfer/ImportResult.h"
#include "core/transfer/TransferItem.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// Moodle's GIFT text format. Read: multiple-choice questions, single
// response ({=right ~wrong}) and multiple response with weights
// ({~%50%a ~%50%b ~%-100%c}); "####" general feedback as the explanation;
// "$CATEGORY:" lines naming a section; "//" comment lines; the escapes
// \~ \= \# \{ \} \: \\ and \n; an optional ::title:: and [format] marker
// ([html] text is reduced to plain text). Questions of other kinds are
// listed as skipped. Write: the same subset, one question per paragraph.
class GiftFormat
{
public:
    static ImportResult read(const QByteArray& bytes, ImportProgress* progress = nullptr);
    // notes: what the file cannot carry of these items
    static QByteArray write(const QList<TransferItem>& items, QStringList* notes = nullptr);
};
