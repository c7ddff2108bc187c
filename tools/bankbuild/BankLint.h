#pragma once

#include "BankItem.h"

#include <QList>
#include <QStringList>

// The rules the shipped bank keeps beyond what any item table needs: its
// size and shares, the shape of every item, and the exhibits.
namespace BankLint {
// exhibitSources: the folder of the exhibit text sources (qNNN-1.txt ...).
QStringList check(const QList<BankItem>& items, const QString& exhibitSources);

// Sentences in a text: runs ending in ".", "?" or "!" followed by a blank or
// the end. Dots inside words (file names, versions) and after numbers do not
// count.
int sentenceCount(const QString& text);
} // namespace BankLint
