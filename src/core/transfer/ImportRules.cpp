#include "core/transfer/ImportRules.h"

#include "core/store/SectionNames.h"

#include <QRegularExpression>
#include <algorithm>

namespace {
// The line of the first byte that does not belong to a well-formed UTF-8
// sequence (no overlong forms, no surrogates, nothing above U+10FFFF); 0
// when the whole text is well formed.
int firstBadUtf8Line(const QByteArray& bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    int line = 1;
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = b[i];
        if (c < 0x80) {
            if (c == '\n')
                ++line;
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        char32_t least = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2;
            cp = c & 0x1F;
            least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            cp = c & 0x0F;
            least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            cp = c & 0x07;
            least = 0x10000;
        } else {
            return line;
        }
        if (i + length > n)
            return line;
        for (int k = 1; k < length; ++k) {
            if ((b[i + k] & 0xC0) != 0x80)
                return line;
            cp = (cp << 6) | (b[i + k] & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return line;
        i += length;
    }
    return 0;
}

qsizetype utf8Size(const QString& text)
{
    // Cheap bound first: no UTF-16 unit takes more than three UTF-8 bytes.
    if (text.size() * 3 <= ImportRules::MaxTextBytes)
        return text.size();
    return text.toUtf8().size();
}
} // namespace

bool ImportRules::decode(const QByteArray& bytes, QString* text, QList<ImportProblem>* problems)
{
    Q_ASSERT(text && problems);
    if (bytes.size() > MaxFileBytes) {
        *problems << ImportProblem{0, QStringLiteral("The file is larger than 16 MB.")};
        return false;
    }
    if (const int line = firstBadUtf8Line(bytes)) {
        *problems << ImportProblem{line, QStringLiteral("The file is not UTF-8 text (save it as UTF-8).")};
        return false;
    }
    // A byte-order mark, also one left inside by joining two files, is no text.
    *text = QString::fromUtf8(bytes);
    text->remove(QChar(0xFEFF));
    text->replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text->replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return true;
}

void ImportRules::normalise(TransferItem* item)
{
    while (item->correct.size() < item->choices.size())
        item->correct << false;
    while (item->choices.size() < item->correct.size())
        item->choices << QString();
    while (!item->choices.isEmpty() && item->choices.last().isEmpty() && !item->correct.last()) {
        item->choices.removeLast();
        item->correct.removeLast();
    }
}

void ImportRules::check(const TransferItem& item, QList<ImportProblem>* problems)
{
    Q_ASSERT(problems);
    const int line = item.line;
    auto problem = [&](const QString& message) { *problems << ImportProblem{line, message}; };
    if (item.question.trimmed().isEmpty())
        problem(QStringLiteral("The question has no text."));
    int existing = 0;
    int correct = 0;
    int last = -1;        // the last choice that exists
    bool anyFlag = false; // a correct flag, on a choice or not
    for (int i = 0; i < item.choices.size(); ++i) {
        const bool exists = !item.choices.at(i).isEmpty();
        const bool right = i < item.correct.size() && item.correct.at(i);
        existing += exists ? 1 : 0;
        if (exists)
            last = i;
        anyFlag = anyFlag || right;
        if (right && exists)
            ++correct;
        if (right && !exists)
            problem(QStringLiteral("The correct letter %1 has no choice.").arg(letter(i)));
    }
    if (last >= MaxChoices)
        problem(QStringLiteral("The question has %1 choices; at most six are possible.").arg(existing));
    else if (existing < 2)
        problem(existing == 0 ? QStringLiteral("The question has no choices; at least two are needed.")
                              : QStringLiteral("The question has only one choice; at least two are needed."));
    if (!anyFlag && existing > 0)
        problem(QStringLiteral("The question has no correct choice."));
    if (!item.multiple && correct > 1)
        problem(QStringLiteral("The question is single response but has %1 correct choices.").arg(correct));
    if (item.section < 0 || item.section > SectionNames::Count)
        problem(QStringLiteral("The section %1 is outside 1 to 6.").arg(item.section));
    if (utf8Size(item.question) > MaxTextBytes)
        problem(QStringLiteral("The question text is longer than 64 KB."));
    for (int i = 0; i < item.choices.size(); ++i) {
        if (utf8Size(item.choices.at(i)) > MaxTextBytes)
            problem(QStringLiteral("Choice %1 is longer than 64 KB.").arg(letter(i)));
    }
    if (utf8Size(item.explanation) > MaxTextBytes)
        problem(QStringLiteral("The explanation is longer than 64 KB."));
}

void ImportRules::checkAll(ImportResult* result, ImportProgress* progress)
{
    const qsizetype count = result->items.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (i % 1024 == 0 && progress && !progress->at(ImportProgress::Phase::Checking, i, count)) {
            result->cancelled = true;
            return;
        }
        TransferItem& item = result->items[i];
        normalise(&item);
        check(item, &result->problems);
    }
    if (result->items.isEmpty() && result->problems.isEmpty())
        result->problems << ImportProblem{0, QStringLiteral("The file holds no multiple-choice questions.")};
    std::stable_sort(result->problems.begin(), result->problems.end(),
                     [](const ImportProblem& a, const ImportProblem& b) { return a.line < b.line; });
}

bool ImportRules::overLimit(ImportResult* result)
{
    if (result->items.size() <= MaxQuestions)
        return false;
    result->items.removeLast();
    result->problems << tooManyQuestions();
    return true;
}

ImportProblem ImportRules::tooManyQuestions()
{
    return ImportProblem{0, QStringLiteral("The file holds more than %1 questions; an import takes at most "
                                           "%1. Split the file and import it in parts.")
                                .arg(QStringLiteral("%1,%2")
                                         .arg(MaxQuestions / 1000)
                                         .arg(MaxQuestions % 1000, 3, 10, QLatin1Char('0')))};
}

bool ImportRules::stop(ImportProgress* progress, qint64 done, qint64 total, ImportResult* result)
{
    if (!progress || progress->at(ImportProgress::Phase::Reading, done, total))
        return false;
    result->cancelled = true;
    return true;
}

QString ImportRules::excerpt(const QString& text)
{
    QString shown = text.left(MaxQuoted + 1);
    for (QChar& c : shown) {
        if (c == u'\n' || c == u'\t')
            c = u' ';
    }
    if (text.size() > MaxQuoted)
        shown = shown.left(MaxQuoted - 3) + QStringLiteral("...");
    return shown;
}

bool ImportRules::parseLetters(const QString& text, QList<int>* indexes, QString* bad)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
    Q_ASSERT(indexes && bad);
    indexes->clear();
    for (const QString& part : text.split(separators, Qt::SkipEmptyParts)) {
        for (const QChar c : part) {
            const QChar up = c.toUpper();
            if (up < u'A' || up > u'Z') {
                *bad = part;
                return false;
            }
            const int index = up.unicode() - u'A';
            if (!indexes->contains(index))
                *indexes << index;
        }
    }
    std::sort(indexes->begin(), indexes->end());
    return true;
}

int ImportRules::sectionNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    bool isNumber = false;
    const int n = t.toInt(&isNumber);
    if (isNumber)
        return n;
    const QStringList names = SectionNames::all();
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).compare(t, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return -1;
}

QString ImportRules::oneLine(const QString& text)
{
    // Every run of blanks that holds a line break becomes one blank. In one
    // pass: a pattern over the blanks around each break backtracks over a
    // long run of blanks once for every blank in it.
    if (!text.contains(QLatin1Char('\n')))
        return text.trimmed();
    auto blank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
    };
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (!blank(text[i])) {
            out += text[i++];
            continue;
        }
        qsizetype j = i;
        bool lineBreak = false;
        for (; j < n && blank(text[j]); ++j)
            lineBreak = lineBreak || text[j] == u'\n';
        if (lineBreak)
            out += QLatin1Char(' ');
        else
            out += QStringView(text).mid(i, j - i);
        i = j;
    }
    return out.trimmed();
}

QString ImportRules::cleanText(const QString& text)
{
    if (!text.contains(QLatin1Char('\n')))
        return text.trimmed();
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\n') {
            while (!out.isEmpty() && (out.back() == u' ' || out.back() == u'\t'))
                out.chop(1);
        }
        out += c;
    }
    return out.trimmed();
}

QString ImportRules::listing(const QList<ImportProblem>& problems)
{
    QStringList lines;
    for (int i = 0; i < problems.size() && i < ListedProblems; ++i) {
        const ImportProblem& p = problems.at(i);
        lines << (p.line > 0 ? QStringLiteral("Line %1: %2").arg(p.line).arg(p.message) : p.message);
    }
    if (problems.size() > ListedProblems)
        lines << QStringLiteral("... and %1 more.").arg(problems.size() - ListedProblems);
    return lines.join(QLatin1Char('\n'));
}

QString ImportRules::failureMessage(const QString& fileName, const ImportResult& result)
{
    const qsizetype n = result.problems.size();
    QString text =
        QStringLiteral("Nothing was imported from \"%1\": %2 to mend.")
            .arg(fileName, n == 1 ? QStringLiteral("one problem") : QStringLiteral("%1 problems").arg(n));
    text += QStringLiteral("\n\n") + listing(result.problems);
    if (!result.skipped.isEmpty())
        text += QStringLiteral("\n\nThese questions are of other kinds and would be left out:\n") +
                listing(result.skipped);
    return text;
}

QString ImportRules::importedMessage(int imported, const ImportResult& result)
{
    QString text = imported == 1 ? QStringLiteral("1 question was imported")
                                 : QStringLiteral("%1 questions were imported").arg(imported);
    if (!result.format.isEmpty())
        text += QStringLiteral(" from this %1 file").arg(result.format);
    text += QLatin1Char('.');
    if (result.skipped.isEmpty())
        return text;
    return text +
           QStringLiteral(" These are of other kinds and were left out "
                          "(the sampler holds multiple-choice questions only):\n\n") +
           listing(result.skipped);
}

QString ImportRules::skippedMessage(int imported, const ImportResult& result)
{
    if (result.skipped.isEmpty())
        return {};
    return QStringLiteral("%1 questions were imported. These are of other kinds and were left out "
                          "(the sampler holds multiple-choice questions only):\n\n")
               .arg(imported) +
           listing(result.skipped);
}
