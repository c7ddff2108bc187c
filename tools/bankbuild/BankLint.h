#pragma once

#include "BankItem.h"

#include <QList>
#include <QStringList>

// The rules the shipped bank keeps beyond what any item table needs: its
// size and shares, the shape of every item, the exhibits, and that neither
// the length nor the form of the choices gives an answer away.
namespace BankLint {
// exhibitSources: the folder of the exhibit text sources (qNNN-1.txt ...).
QStringList check(const QList<BankItem>& items, const QString& exhibitSources);

// The figures behind the limits, whole bank first, then per practice exam
// and per source file, one line each: what a writer of items watches.
QStringList report(const QList<BankItem>& items);

// How much a candidate earns by choosing on length alone. Lengths are those
// of the trimmed choices.
struct LengthCues
{
    int single = 0;
    QList<int> singleKeyedLongest; // ids: the key is the strictly longest choice
    int multiple = 0;
    QList<int> multipleKeyedLongest; // ids: the keys are exactly the n longest
    int active = 0;                  // items of the practice exams 1 to 6
    // Items of the practice exams the strategy "pick the longest choice, or
    // the n longest" is expected to score. Where choices tie in length at the
    // boundary the candidate picks among them at random, so such an item
    // counts with the chance of that pick being the keys (1/2 for a tie of two
    // over one place): the score is what the strategy really earns on average.
    double strategyScore = 0;
    QList<int> strategyScored; // ids of active items with a score above 0
};
constexpr int MaxSingleKeyedLongestPercent = 30;
constexpr int MaxMultipleKeyedLongestPercent = 15;
constexpr int MaxStrategyPercent = 28;
LengthCues lengthCues(const QList<BankItem>& items);
// What the strategy is expected to score on one item, 0 to 1.
double longestStrategyScore(const BankItem& item);

// Every item offers at least four choices; a multiple-response item offers
// at least two more choices than it has keys, so that no pick of "all but
// one" is certain to score.
constexpr int MinChoices = 4;
constexpr int MinDistractorsMultiple = 2;

// The form of a choice, for the rule that the choices of an item share it.
// Prose: ends with a full stop, or holds one of the small words of English
// sentences (the, a, an, is, are, of, that, which, because, it, its).
// Command: not prose, starts with a lowercase letter, "/" or "~" (a command,
// a path, a setting) and holds no ", ", or is in backticks.
// Term: anything else (values, names, "12 TB", "Run dracut -f"); it goes
// with either form.
// An item whose choices are partly prose and partly commands shows which
// choice was written apart from the others.
enum class ChoiceForm { Prose, Command, Term };
ChoiceForm choiceForm(const QString& choice);
// A final "." after a word. Not one after a blank ("apt search .") or one
// that ends a partial address ("hosts allow = 10.40."): both are values.
bool endsWithFullStop(const QString& choice);

// Sentences in a text: runs ending in ".", "?" or "!" followed by a blank or
// the end. Dots inside words (file names, versions) and after numbers do not
// count.
int sentenceCount(const QString& text);
} // namespace BankLint
