#pragma once

#include "BankItem.h"

#include <QList>
#include <QString>

// Writes the item tables of a program folder.
namespace BankWriter {
// Writes the bank, keeping the notes (U_MEMO) of an existing bank by Q_ID.
// The new file replaces the old one only when it is complete.
bool writeBank(const QList<BankItem>& items, const QString& path, QString* error);
// Creates an empty current exam set or user set when none exists yet.
bool ensureEmptyTable(const QString& path, bool userSet, QString* error);
} // namespace BankWriter
