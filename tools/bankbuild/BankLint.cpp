#include "BankLint.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <cmath>

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

LongestChoice longestChoice(const QList<BankItem>& items)
{
    LongestChoice measure;
    for (const BankItem& item : items) {
        if (item.multiple || item.choices.size() < 2)
            continue;
        int longest = 0;
        for (int k = 1; k < item.choices.size(); ++k) {
            if (item.choices.at(k).trimmed().size() > item.choices.at(longest).trimmed().size())
                longest = k;
        }
        const qsizetype length = item.choices.at(longest).trimmed().size();
        bool outstanding = true;
        for (int k = 0; k < item.choices.size() && outstanding; ++k) {
            if (k != longest)
                outstanding = length * 10 >= item.choices.at(k).trimmed().size() * 13;
        }
        if (!outstanding)
            continue;
        ++measure.outstanding;
        if (longest < 6 && item.correct[longest])
            ++measure.keyed;
    }
    return measure;
}

QString describe(const LongestChoice& measure)
{
    const int percent = measure.outstanding == 0 ? 0 : qRound(100.0 * measure.keyed / measure.outstanding);
    return QStringLiteral("the longest choice is the key in %1 of %2 single-response items with a choice "
                          "at least 30% longer than the others (%3%)")
        .arg(measure.keyed)
        .arg(measure.outstanding)
        .arg(percent);
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
    const LongestChoice longest = longestChoice(items);
    if (longest.keyed * 100 >= MaxLongestKeyedPercent * longest.outstanding && longest.keyed > 0)
        problems << QStringLiteral("%1; it should be under %2%")
                        .arg(describe(longest))
                        .arg(MaxLongestKeyedPercent);
    const QStringList sources =
        QDir(exhibitSources).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (const QString& s : sources) {
        if (!referenced.contains(QFileInfo(s).completeBaseName()))
            problems << QStringLiteral("exhibit source %1 is used by no item").arg(s);
    }
    return problems;
}

} // namespace BankLint
