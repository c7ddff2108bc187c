#pragma once

#include "BankItem.h"

#include <QList>
#include <QStringList>

// The rules the shipped bank keeps beyond what any item table needs: its
// size and shares, the shape of every item, and the exhibits.
namespace BankLint {
// exhibitSources: the folder of the exhibit text sources (qNNN-1.txt ...).
QStringList check(const QList<BankItem>& items, const QString& exhibitSources);

// Single-response items in which one choice is at least 30% longer than every
// other choice ("outstanding"), and how many of them have that choice as their
// key. A candidate must not score by picking the longest answer: the share of
// keyed ones stays under MaxLongestKeyedPercent.
struct LongestChoice
{
    int outstanding = 0;
    int keyed = 0;
};
constexpr int MaxLongestKeyedPercent = 40;
LongestChoice longestChoice(const QList<BankItem>& items);
// "the longest choice is the key in 12 of 40 ... (30%)"
QString describe(const LongestChoice& measure);

// Sentences in a text: runs ending in ".", "?" or "!" followed by a blank or
// the end. Dots inside words (file names, versions) and after numbers do not
// count.
int sentenceCount(const QString& text);
} // namespace BankLint
