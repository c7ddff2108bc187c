#include "BankLint.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace BankLint {

int sentenceCount(const QString& text)
{
    int count = 0;
    const QString t = text.trimmed();
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c != QLatin1Char('.') && c != QLatin1Char('?') && c != QLatin1Char('!'))
            continue;
        const bool atEnd = i + 1 == t.size();
        // "127. and 10.40. match" ends no sentence: a number before the dot.
        const bool afterWord = i > 0 && !t.at(i - 1).isSpace() && !t.at(i - 1).isDigit();
        if (atEnd || (t.at(i + 1).isSpace() && afterWord))
            ++count;
    }
    return count;
}

namespace {
QList<int> keyIndexes(const BankItem& item)
{
    QList<int> keys;
    for (int k = 0; k < item.choices.size() && k < 6; ++k) {
        if (item.correct[k])
            keys << k;
    }
    return keys;
}

qsizetype lengthOf(const BankItem& item, int k)
{
    return item.choices.at(k).trimmed().size();
}

// Every key is longer than every other choice: one key for a single-response
// item, the n keys for a multiple-response one. A tie with a distractor is no
// cue, so it does not count.
bool keysAreTheLongest(const BankItem& item)
{
    const QList<int> keys = keyIndexes(item);
    if (keys.isEmpty() || keys.size() >= item.choices.size())
        return false;
    qsizetype shortestKey = std::numeric_limits<qsizetype>::max();
    qsizetype longestOther = 0;
    for (int k = 0; k < item.choices.size(); ++k) {
        if (keys.contains(k))
            shortestKey = std::min(shortestKey, lengthOf(item, k));
        else
            longestOther = std::max(longestOther, lengthOf(item, k));
    }
    return shortestKey > longestOther;
}

double binomial(int n, int k)
{
    double result = 1;
    for (int i = 1; i <= k; ++i)
        result = result * (n - k + i) / i;
    return result;
}

QString percentOf(double part, int whole)
{
    return QString::number(whole == 0 ? 0.0 : 100.0 * part / whole, 'f', 0) + QLatin1Char('%');
}

// "a, c"
QString letters(const QList<int>& indexes)
{
    QString text;
    for (int k : indexes) {
        if (!text.isEmpty())
            text += QStringLiteral(", ");
        text += QChar('a' + k);
    }
    return text;
}

QString ids(const QList<int>& list)
{
    QStringList texts;
    for (int id : list)
        texts << QString::number(id);
    return texts.join(QStringLiteral(", "));
}

// "single 14/35 (40%), multiple 7/15 (47%), strategy 23.2/50 (46%)"
QString shortFigures(const LengthCues& m)
{
    return QStringLiteral("single %1/%2 (%3), multiple %4/%5 (%6), strategy %7/%8 (%9)")
        .arg(m.singleKeyedLongest.size())
        .arg(m.single)
        .arg(percentOf(m.singleKeyedLongest.size(), m.single))
        .arg(m.multipleKeyedLongest.size())
        .arg(m.multiple)
        .arg(percentOf(m.multipleKeyedLongest.size(), m.multiple))
        .arg(m.strategyScore, 0, 'f', 1)
        .arg(m.active)
        .arg(percentOf(m.strategyScore, m.active));
}

bool tooFewChoices(const BankItem& item)
{
    const int n = int(item.choices.size());
    if (n < MinChoices)
        return true;
    return item.multiple && n < int(keyIndexes(item).size()) + MinDistractorsMultiple;
}

// The letters of the choices with a full stop, empty when all or none have one.
QList<int> mixedFullStops(const BankItem& item)
{
    QList<int> withStop;
    for (int k = 0; k < item.choices.size(); ++k) {
        if (endsWithFullStop(item.choices.at(k)))
            withStop << k;
    }
    if (withStop.size() == item.choices.size())
        withStop.clear();
    return withStop;
}

bool mixesProseAndCommands(const BankItem& item, QList<int>* prose, QList<int>* commands)
{
    for (int k = 0; k < item.choices.size(); ++k) {
        const ChoiceForm form = choiceForm(item.choices.at(k));
        if (form == ChoiceForm::Prose)
            *prose << k;
        else if (form == ChoiceForm::Command)
            *commands << k;
    }
    return !prose->isEmpty() && !commands->isEmpty();
}
} // namespace

double longestStrategyScore(const BankItem& item)
{
    const QList<int> keys = keyIndexes(item);
    const int n = int(keys.size());
    if (n == 0 || n > item.choices.size())
        return 0;
    QList<qsizetype> lengths;
    for (int k = 0; k < item.choices.size(); ++k)
        lengths << lengthOf(item, k);
    QList<qsizetype> sorted = lengths;
    std::sort(sorted.begin(), sorted.end(), std::greater<qsizetype>());
    // The candidate takes every choice longer than the n-th longest, then the
    // rest at random from those as long as it.
    const qsizetype boundary = sorted.at(n - 1);
    int longer = 0, tied = 0;
    for (int k = 0; k < lengths.size(); ++k) {
        const bool key = keys.contains(k);
        if (lengths.at(k) > boundary) {
            if (!key)
                return 0;
            ++longer;
        } else if (lengths.at(k) == boundary) {
            ++tied;
        } else if (key) {
            return 0;
        }
    }
    return 1.0 / binomial(tied, n - longer);
}

LengthCues lengthCues(const QList<BankItem>& items)
{
    LengthCues m;
    for (const BankItem& item : items) {
        if (item.multiple) {
            ++m.multiple;
            if (keysAreTheLongest(item))
                m.multipleKeyedLongest << item.id;
        } else {
            ++m.single;
            if (keysAreTheLongest(item))
                m.singleKeyedLongest << item.id;
        }
        if (item.exam >= 1 && item.exam <= 6) {
            ++m.active;
            const double score = longestStrategyScore(item);
            m.strategyScore += score;
            if (score > 0)
                m.strategyScored << item.id;
        }
    }
    return m;
}

bool endsWithFullStop(const QString& choice)
{
    const QString t = choice.trimmed();
    if (t.size() < 2 || !t.endsWith(QLatin1Char('.')) || t.at(t.size() - 2).isSpace())
        return false;
    static const QRegularExpression partialAddress(QStringLiteral("(^|\\s)\\d+\\.\\d+(\\.\\d+)?\\.$"));
    return !partialAddress.match(t).hasMatch();
}

ChoiceForm choiceForm(const QString& choice)
{
    static const QSet<QString> smallWords = {
        QStringLiteral("the"), QStringLiteral("a"),   QStringLiteral("an"),      QStringLiteral("is"),
        QStringLiteral("are"), QStringLiteral("of"),  QStringLiteral("that"),    QStringLiteral("which"),
        QStringLiteral("it"),  QStringLiteral("its"), QStringLiteral("because"),
    };
    const QString t = choice.trimmed();
    if (t.isEmpty())
        return ChoiceForm::Term;
    if (t.startsWith(QLatin1Char('`')))
        return ChoiceForm::Command;
    if (endsWithFullStop(t))
        return ChoiceForm::Prose;
    const QStringList words = t.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& w : words) {
        QString word = w.toLower();
        while (!word.isEmpty() && QStringLiteral(",;:").contains(word.back()))
            word.chop(1);
        if (smallWords.contains(word))
            return ChoiceForm::Prose;
    }
    const QChar first = t.front();
    if ((first.isLower() || first == QLatin1Char('/') || first == QLatin1Char('~')) &&
        !t.contains(QStringLiteral(", ")))
        return ChoiceForm::Command;
    return ChoiceForm::Term;
}

QStringList report(const QList<BankItem>& items)
{
    QStringList lines;
    const LengthCues all = lengthCues(items);
    lines << QStringLiteral("single response: the key is the strictly longest choice in %1 of %2 items "
                            "(%3); limit %4%")
                 .arg(all.singleKeyedLongest.size())
                 .arg(all.single)
                 .arg(percentOf(all.singleKeyedLongest.size(), all.single))
                 .arg(MaxSingleKeyedLongestPercent);
    lines << QStringLiteral("multiple response: the keys are exactly the n longest choices in %1 of %2 "
                            "items (%3); limit %4%")
                 .arg(all.multipleKeyedLongest.size())
                 .arg(all.multiple)
                 .arg(percentOf(all.multipleKeyedLongest.size(), all.multiple))
                 .arg(MaxMultipleKeyedLongestPercent);
    lines << QStringLiteral("picking the longest choice, or the n longest, scores %1 of the %2 items of "
                            "exams 1 to 6 (%3); limit %4%")
                 .arg(all.strategyScore, 0, 'f', 1)
                 .arg(all.active)
                 .arg(percentOf(all.strategyScore, all.active))
                 .arg(MaxStrategyPercent);
    int fewChoices = 0, fullStops = 0, forms = 0;
    for (const BankItem& item : items) {
        QList<int> prose, commands;
        fewChoices += tooFewChoices(item) ? 1 : 0;
        fullStops += mixedFullStops(item).isEmpty() ? 0 : 1;
        forms += mixesProseAndCommands(item, &prose, &commands) ? 1 : 0;
    }
    lines << QStringLiteral("choices: %1 items offer fewer than %2 choices (or, multiple response, fewer "
                            "than %3 beyond their keys); limit 0")
                 .arg(fewChoices)
                 .arg(MinChoices)
                 .arg(MinDistractorsMultiple);
    lines << QStringLiteral("form: %1 items mix choices with and without a full stop, %2 mix sentences "
                            "and commands; limit 0")
                 .arg(fullStops)
                 .arg(forms);

    QMap<int, QList<BankItem>> perExam;
    QMap<QString, QList<BankItem>> perFile;
    for (const BankItem& item : items) {
        perExam[item.exam] << item;
        perFile[item.file] << item;
    }
    for (auto it = perExam.cbegin(); it != perExam.cend(); ++it) {
        lines << QStringLiteral("  exam %1%2: %3")
                     .arg(it.key())
                     .arg(it.key() == 0 ? QStringLiteral(" (retired)") : QString())
                     .arg(shortFigures(lengthCues(it.value())));
    }
    if (perFile.size() > 1 || !perFile.contains(QString())) {
        for (auto it = perFile.cbegin(); it != perFile.cend(); ++it) {
            const LengthCues m = lengthCues(it.value());
            lines << QStringLiteral("  %1: %2").arg(it.key(), shortFigures(m));
            lines << QStringLiteral("    single, key longest: %1").arg(ids(m.singleKeyedLongest));
            lines << QStringLiteral("    multiple, keys longest: %1").arg(ids(m.multipleKeyedLongest));
        }
    }
    return lines;
}

QStringList check(const QList<BankItem>& items, const QString& exhibitSources)
{
    QStringList problems;
    // Exam sizes: practice exams A to E, the extra pool and the retired items.
    const QHash<int, int> wantedPerExam = {{1, 50}, {2, 50}, {3, 50}, {4, 50}, {5, 50}, {6, 40}, {0, 10}};
    QHash<int, int> perExam;
    QHash<int, QHash<int, int>> perExamSection;
    int multiple = 0, withPict1 = 0, withPict2 = 0;
    QHash<QString, QString> questions;
    QSet<QString> referenced;

    for (const BankItem& item : items) {
        ++perExam[item.exam];
        ++perExamSection[item.exam][item.section];
        const int n = int(item.choices.size());
        int correct = 0;
        for (int k = 0; k < 6; ++k)
            correct += item.correct[k] ? 1 : 0;
        if (n < 2 || n > 6)
            problems
                << QStringLiteral("%1: an item has two to six choices (found %2)").arg(item.origin).arg(n);
        if (n >= 2 && tooFewChoices(item)) {
            if (item.multiple)
                problems << QStringLiteral("%1: a multiple-response item offers at least %2 choices and %3 "
                                           "more than its keys (found %4 choices, %5 keys)")
                                .arg(item.origin)
                                .arg(MinChoices)
                                .arg(MinDistractorsMultiple)
                                .arg(n)
                                .arg(correct);
            else
                problems << QStringLiteral("%1: a single-response item offers at least %2 choices (found %3)")
                                .arg(item.origin)
                                .arg(MinChoices)
                                .arg(n);
        }
        const QList<int> withStop = mixedFullStops(item);
        if (!withStop.isEmpty())
            problems << (withStop.size() == 1
                             ? QStringLiteral("%1: only choice %2 ends with a full stop; all or none should")
                             : QStringLiteral("%1: only choices %2 end with a full stop; all or none "
                                              "should"))
                            .arg(item.origin, letters(withStop));
        QList<int> prose, commands;
        if (mixesProseAndCommands(item, &prose, &commands))
            problems << QStringLiteral("%1: sentences (%2) and commands (%3) among the choices; an item's "
                                       "choices share one form")
                            .arg(item.origin, letters(prose), letters(commands));
        for (int k = 0; k < n; ++k) {
            if (item.choices.at(k).trimmed().isEmpty())
                problems << QStringLiteral("%1: choice %2 is empty; choices are filled from a without gaps")
                                .arg(item.origin)
                                .arg(QChar('a' + k));
        }
        for (int k = 0; k < 6; ++k) {
            if (item.correct[k] && k >= n)
                problems << QStringLiteral("%1: correct choice %2 has no text")
                                .arg(item.origin)
                                .arg(QChar('a' + k));
        }
        if (item.multiple) {
            ++multiple;
            if (correct < 2 || correct > 3)
                problems << QStringLiteral(
                                "%1: a multiple-response item has two or three correct choices (found %2)")
                                .arg(item.origin)
                                .arg(correct);
        } else if (correct != 1) {
            problems << QStringLiteral("%1: a single-response item has exactly one correct choice (found %2)")
                            .arg(item.origin)
                            .arg(correct);
        }
        if (item.question.trimmed().isEmpty())
            problems << QStringLiteral("%1: the question is empty").arg(item.origin);
        const QString key = item.question.simplified().toLower();
        if (questions.contains(key))
            problems
                << QStringLiteral("%1: the same question text as %2").arg(item.origin, questions.value(key));
        else
            questions.insert(key, item.origin);
        if (item.explanation.trimmed().isEmpty()) {
            problems << QStringLiteral("%1: the explanation is empty").arg(item.origin);
        } else {
            const int sentences = sentenceCount(item.explanation);
            if (sentences < 2 || sentences > 6)
                problems << QStringLiteral("%1: the explanation has two to six sentences (found %2)")
                                .arg(item.origin)
                                .arg(sentences);
        }
        if (!item.pict1.isEmpty())
            ++withPict1;
        if (!item.pict2.isEmpty())
            ++withPict2;
        for (const QString& pict : {item.pict1, item.pict2}) {
            if (pict.isEmpty())
                continue;
            const QString base = QFileInfo(pict).completeBaseName();
            referenced.insert(base);
            if (!QFileInfo(QDir(exhibitSources).filePath(base + QStringLiteral(".txt"))).isFile())
                problems
                    << QStringLiteral("%1: no exhibit source %2.txt for %3").arg(item.origin, base, pict);
        }
    }

    for (auto it = wantedPerExam.cbegin(); it != wantedPerExam.cend(); ++it) {
        if (perExam.value(it.key()) != it.value())
            problems << QStringLiteral("exam %1 has %2 items; it should have %3")
                            .arg(it.key())
                            .arg(perExam.value(it.key()))
                            .arg(it.value());
    }
    for (auto it = perExam.cbegin(); it != perExam.cend(); ++it) {
        if (!wantedPerExam.contains(it.key()))
            problems << QStringLiteral("exam %1 is not one of the bank's exams (0 to 6)").arg(it.key());
    }
    // Section shares of every practice exam, within one and a half items.
    const double shares[6] = {0.15, 0.20, 0.20, 0.15, 0.15, 0.15};
    for (int exam = 1; exam <= 5; ++exam) {
        const int total = perExam.value(exam);
        for (int s = 1; s <= 6; ++s) {
            const int have = perExamSection.value(exam).value(s);
            if (std::abs(have - shares[s - 1] * total) > 1.5)
                problems << QStringLiteral("exam %1 has %2 items of section %3; its share is about %4")
                                .arg(exam)
                                .arg(have)
                                .arg(s)
                                .arg(qRound(shares[s - 1] * total));
        }
    }
    if (!items.isEmpty() && multiple * 4 < items.size())
        problems << QStringLiteral("only %1 of %2 items are multiple response; at least a quarter should be")
                        .arg(multiple)
                        .arg(items.size());
    if (withPict1 < 20)
        problems << QStringLiteral("%1 items use exhibit 1; at least 20 should").arg(withPict1);
    if (withPict2 < 5)
        problems << QStringLiteral("%1 items use exhibit 2; at least 5 should").arg(withPict2);
    const LengthCues length = lengthCues(items);
    if (length.singleKeyedLongest.size() * 100 > MaxSingleKeyedLongestPercent * length.single)
        problems << QStringLiteral("the key is the strictly longest choice in %1 of %2 single-response items "
                                   "(%3); at most %4% may be")
                        .arg(length.singleKeyedLongest.size())
                        .arg(length.single)
                        .arg(percentOf(length.singleKeyedLongest.size(), length.single))
                        .arg(MaxSingleKeyedLongestPercent);
    if (length.multipleKeyedLongest.size() * 100 > MaxMultipleKeyedLongestPercent * length.multiple)
        problems << QStringLiteral("the keys are exactly the n longest choices in %1 of %2 multiple-response "
                                   "items (%3); at most %4% may be")
                        .arg(length.multipleKeyedLongest.size())
                        .arg(length.multiple)
                        .arg(percentOf(length.multipleKeyedLongest.size(), length.multiple))
                        .arg(MaxMultipleKeyedLongestPercent);
    if (length.strategyScore * 100 > MaxStrategyPercent * length.active)
        problems << QStringLiteral("picking the longest choice, or the n longest, scores %1 of %2 items of "
                                   "exams 1 to 6 (%3); at most %4% may be")
                        .arg(length.strategyScore, 0, 'f', 1)
                        .arg(length.active)
                        .arg(percentOf(length.strategyScore, length.active))
                        .arg(MaxStrategyPercent);
    const QStringList sources =
        QDir(exhibitSources).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& s : sources) {
        if (!referenced.contains(QFileInfo(s).completeBaseName()))
            problems << QStringLiteral("exhibit source %1 is used by no item").arg(s);
    }
    return problems;
}

} // namespace BankLint
