#include "core/transfer/GiftFormat.h"

#include "core/store/SectionNames.h"
#include "core/transfer/ImportRules.h"

#include <QRegularExpression>

namespace {
// A question's text with its escapes resolved; special[i] tells whether
// text[i] still has its GIFT meaning (it was not escaped).
struct Marked
{
    QString text;
    QList<bool> special;

    bool is(qsizetype i, QChar c) const { return i >= 0 && i < text.size() && special[i] && text[i] == c; }
    qsizetype find(QChar c, qsizetype from) const
    {
        for (qsizetype i = std::max<qsizetype>(from, 0); i < text.size(); ++i) {
            if (is(i, c))
                return i;
        }
        return -1;
    }
    qsizetype find(const QString& s, qsizetype from) const
    {
        for (qsizetype i = std::max<qsizetype>(from, 0); i + s.size() <= text.size(); ++i) {
            bool all = true;
            for (qsizetype k = 0; k < s.size() && all; ++k)
                all = is(i + k, s[k]);
            if (all)
                return i;
        }
        return -1;
    }
    Marked mid(qsizetype from, qsizetype length = -1) const
    {
        return Marked{text.mid(from, length), special.mid(from, length)};
    }
    Marked trimmed() const
    {
        qsizetype a = 0, b = text.size();
        while (a < b && text[a].isSpace())
            ++a;
        while (b > a && text[b - 1].isSpace())
            --b;
        return mid(a, b - a);
    }
};

Marked unescape(const QString& raw)
{
    static const QString escapable = QStringLiteral("~=#{}:\\");
    Marked m;
    m.text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == u'\\' && i + 1 < raw.size()) {
            const QChar next = raw[i + 1];
            if (escapable.contains(next)) {
                m.text += next;
                m.special << false;
                ++i;
                continue;
            }
            if (next == u'n') {
                m.text += QLatin1Char('\n');
                m.special << false;
                ++i;
                continue;
            }
        }
        m.text += c;
        m.special << true;
    }
    return m;
}

QString escape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (QStringLiteral("~=#{}:\\").contains(c))
            out += QLatin1Char('\\') + c;
        else
            out += c;
    }
    return out;
}

// Moodle writes [html] texts; the sampler holds plain text.
QString htmlToPlain(const QString& html)
{
    static const QRegularExpression breaks(QStringLiteral("<\\s*(br\\s*/?|/p|/div|/li|/h[1-6]|/tr)\\s*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    static const QRegularExpression spaces(QStringLiteral("[ \\t\\n]+"));
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[a-zA-Z]+);"));
    QString t = html;
    t.replace(spaces, QStringLiteral(" ")); // in HTML a line end is a blank
    t.replace(breaks, QStringLiteral("\n"));
    t.remove(tags);
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(t); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += t.mid(last, m.capturedStart() - last);
        last = m.capturedEnd();
        const QString name = m.captured(1);
        char32_t cp = 0;
        if (name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive))
            cp = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(u'#'))
            cp = name.mid(1).toUInt();
        else if (name == QLatin1String("amp"))
            cp = '&';
        else if (name == QLatin1String("lt"))
            cp = '<';
        else if (name == QLatin1String("gt"))
            cp = '>';
        else if (name == QLatin1String("quot"))
            cp = '"';
        else if (name == QLatin1String("apos"))
            cp = '\'';
        else if (name == QLatin1String("nbsp"))
            cp = ' ';
        if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            out += m.captured(0);
        else
            out += QString::fromUcs4(&cp, 1);
    }
    out += t.mid(last);
    QStringList lines = out.split(QLatin1Char('\n'));
    for (QString& l : lines)
        l = l.trimmed();
    return lines.join(QLatin1Char('\n')).trimmed();
}

enum class TextFormat { Moodle, Html, Plain, Markdown };

// Takes a leading [html], [moodle], [plain] or [markdown] off the text.
TextFormat takeFormat(Marked* m, TextFormat inherited)
{
    const Marked t = m->trimmed();
    if (!t.is(0, u'['))
        return inherited;
    const qsizetype close = t.find(u']', 1);
    if (close < 0)
        return inherited;
    const QString name = t.text.mid(1, close - 1).toLower();
    TextFormat f;
    if (name == QLatin1String("html"))
        f = TextFormat::Html;
    else if (name == QLatin1String("moodle"))
        f = TextFormat::Moodle;
    else if (name == QLatin1String("plain"))
        f = TextFormat::Plain;
    else if (name == QLatin1String("markdown"))
        f = TextFormat::Markdown;
    else
        return inherited;
    *m = t.mid(close + 1);
    return f;
}

QString plainText(const Marked& m, TextFormat format)
{
    const QString t = format == TextFormat::Html ? htmlToPlain(m.text) : m.text;
    return ImportRules::cleanText(t);
}

// A category names a section by its name alone or as the last part of a
// Moodle category path ("$course$/top/Planning"; Moodle doubles a "/" that
// belongs to a name).
int categorySection(const QString& category)
{
    QString c = category.trimmed();
    c.replace(QStringLiteral("//"), QStringLiteral("/"));
    const QStringList names = SectionNames::all();
    for (int i = 0; i < names.size(); ++i) {
        const QString& name = names.at(i);
        if (c.compare(name, Qt::CaseInsensitive) == 0 ||
            c.endsWith(QLatin1Char('/') + name, Qt::CaseInsensitive))
            return i + 1;
    }
    return 0;
}

struct Answer
{
    bool equals = false; // '=' rather than '~'
    bool weighted = false;
    double weight = 0;
    Marked text;
};

void readQuestion(const QString& raw, int line, int section, ImportResult* result)
{
    auto problem = [&](const QString& message) { result->problems << ImportProblem{line, message}; };
    auto skip = [&](const QString& kind) { result->skipped << ImportProblem{line, kind}; };

    Marked q = unescape(raw).trimmed();
    if (q.is(0, u':') && q.is(1, u':')) {
        const qsizetype end = q.find(QStringLiteral("::"), 2);
        if (end < 0) {
            problem(QStringLiteral("The title is not closed with \"::\"."));
            return;
        }
        q = q.mid(end + 2);
    }
    const qsizetype open = q.find(u'{', 0);
    if (open < 0) {
        skip(QStringLiteral("A text without answers (description)."));
        return;
    }
    const qsizetype close = q.find(u'}', open + 1);
    if (close < 0) {
        problem(QStringLiteral("The answers are not closed with \"}\"."));
        return;
    }
    Marked before = q.mid(0, open);
    const Marked after = q.mid(close + 1).trimmed();
    const TextFormat format = takeFormat(&before, TextFormat::Moodle);
    QString question = plainText(before, format);
    if (!after.text.isEmpty()) // the missing-word form: the answers stand for a gap
        question = ImportRules::cleanText(question + QStringLiteral(" _____ ") + plainText(after, format));

    Marked body = q.mid(open + 1, close - open - 1).trimmed();
    QString explanation;
    const qsizetype general = body.find(QStringLiteral("####"), 0);
    if (general >= 0) {
        Marked feedback = body.mid(general + 4);
        const TextFormat f = takeFormat(&feedback, format);
        explanation = plainText(feedback, f);
        body = body.mid(0, general).trimmed();
    }
    if (body.text.isEmpty()) {
        skip(QStringLiteral("An essay question."));
        return;
    }
    if (body.is(0, u'#')) {
        skip(QStringLiteral("A numerical question."));
        return;
    }
    {
        const qsizetype hash = body.find(u'#', 0);
        const QString head = (hash < 0 ? body : body.mid(0, hash)).trimmed().text.toUpper();
        if (head == QLatin1String("T") || head == QLatin1String("F") || head == QLatin1String("TRUE") ||
            head == QLatin1String("FALSE")) {
            skip(QStringLiteral("A true/false question."));
            return;
        }
    }

    QList<Answer> answers;
    qsizetype i = 0;
    while (i < body.text.size() && !body.is(i, u'=') && !body.is(i, u'~'))
        ++i;
    if (!body.mid(0, i).trimmed().text.isEmpty()) {
        problem(QStringLiteral("Text stands before the first answer; answers begin with \"=\" or \"~\"."));
        return;
    }
    while (i < body.text.size()) {
        Answer a;
        a.equals = body.is(i, u'=');
        qsizetype j = i + 1;
        while (j < body.text.size() && !body.is(j, u'=') && !body.is(j, u'~'))
            ++j;
        Marked part = body.mid(i + 1, j - i - 1).trimmed();
        // A weight is a number between two "%"; any other "%" is text.
        static const QRegularExpression weightForm(QStringLiteral("^%\\s*([-+]?[0-9]*\\.?[0-9]+)\\s*%"));
        const QRegularExpressionMatch w = weightForm.match(part.text);
        if (part.is(0, u'%') && w.hasMatch() && part.special[w.capturedEnd() - 1]) {
            a.weighted = true;
            a.weight = w.captured(1).toDouble();
            part = part.mid(w.capturedEnd());
        }
        const qsizetype hash = part.find(u'#', 0); // the answer's own feedback, not kept
        a.text = hash < 0 ? part : part.mid(0, hash);
        answers << a;
        i = j;
    }
    bool anyTilde = false, anyEquals = false, anyPositiveTilde = false, anyArrow = false;
    for (const Answer& a : answers) {
        anyTilde = anyTilde || !a.equals;
        anyEquals = anyEquals || a.equals;
        anyPositiveTilde = anyPositiveTilde || (!a.equals && a.weighted && a.weight > 0);
        anyArrow = anyArrow || (a.equals && a.text.find(QStringLiteral("->"), 0) >= 0);
    }
    // Only "=" answers: pairs "a -> b" make a matching question, else a
    // short-answer one. A "~" answer makes it multiple choice.
    if (!anyTilde) {
        skip(anyArrow ? QStringLiteral("A matching question.") : QStringLiteral("A short-answer question."));
        return;
    }

    TransferItem item;
    item.line = line;
    item.section = section;
    item.question = question;
    item.explanation = explanation;
    // With a "=" answer the question is single response (partial credit of
    // other answers is not a correct choice); without one, every answer with
    // a positive weight is correct and the question is multiple response.
    item.multiple = !anyEquals && anyPositiveTilde;
    for (const Answer& a : answers) {
        Marked text = a.text;
        const TextFormat f = takeFormat(&text, format);
        const bool right = item.multiple ? (a.equals || (a.weighted && a.weight > 0)) : a.equals;
        item.addChoice(ImportRules::oneLine(plainText(text, f)), right);
    }
    result->items << item;
}

// A text that begins like a [format] marker keeps it behind a real one.
QString protectedText(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("^\\s*\\[(html|moodle|plain|markdown)\\]"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString escaped = escape(text);
    return marker.match(text).hasMatch() ? QStringLiteral("[moodle]") + escaped : escaped;
}

QString weightText(int correctCount)
{
    const double w = 100.0 / correctCount;
    if (100 % correctCount == 0)
        return QString::number(100 / correctCount);
    return QString::number(w, 'f', 5);
}
} // namespace

ImportResult GiftFormat::read(const QByteArray& bytes, ImportProgress* progress)
{
    ImportResult result;
    QString text;
    if (!ImportRules::decode(bytes, &text, &result.problems))
        return result;
    const QStringList lines = text.split(QLatin1Char('\n'));
    int section = 0;
    QStringList block;
    int blockLine = 0;
    auto finish = [&] {
        // "$CATEGORY:" lines at the head of a paragraph set the section of
        // the questions that follow.
        while (!block.isEmpty() &&
               block.first().trimmed().startsWith(QLatin1String("$CATEGORY:"), Qt::CaseInsensitive)) {
            section = categorySection(block.first().trimmed().mid(10));
            block.removeFirst();
            ++blockLine;
        }
        if (!block.isEmpty())
            readQuestion(block.join(QLatin1Char('\n')), blockLine, section, &result);
        block.clear();
    };
    for (int n = 0; n < lines.size(); ++n) {
        if (n % 1024 == 0 && ImportRules::stop(progress, n, lines.size(), &result))
            return result;
        const QString l = lines.at(n);
        const QString t = l.trimmed();
        if (t.isEmpty()) {
            finish();
            if (ImportRules::overLimit(&result))
                return result;
            continue;
        }
        if (t.startsWith(QLatin1String("//")))
            continue;
        if (block.isEmpty())
            blockLine = n + 1;
        block << l;
    }
    finish();
    if (!ImportRules::overLimit(&result))
        ImportRules::checkAll(&result, progress);
    return result;
}

QByteArray GiftFormat::write(const QList<TransferItem>& items, QStringList* notes)
{
    QString out = QStringLiteral("// Examora user question set: %1 questions\n").arg(items.size());
    int section = -1;
    for (const TransferItem& item : items) {
        if (item.section != section) {
            section = item.section;
            const QString name = SectionNames::name(section);
            out += QStringLiteral("\n$CATEGORY: %1\n")
                       .arg(name.isEmpty() ? QStringLiteral("No section")
                                           : QString(name).replace(QLatin1Char('/'), QStringLiteral("//")));
        }
        QString question = protectedText(item.question);
        // A text that begins like a comment keeps its place behind an empty title.
        if (question.startsWith(QLatin1String("//")))
            question.prepend(QStringLiteral(":::: "));
        out += QStringLiteral("\n") + question + QStringLiteral(" {\n");
        int correctCount = 0;
        for (int i = 0; i < item.choices.size(); ++i)
            correctCount += (!item.choices.at(i).isEmpty() && item.correct.value(i)) ? 1 : 0;
        for (int i = 0; i < item.choices.size(); ++i) {
            const QString& choice = item.choices.at(i);
            if (choice.isEmpty())
                continue;
            const bool right = item.correct.value(i);
            QString mark;
            if (item.multiple)
                mark = right ? QStringLiteral("~%") + weightText(correctCount) + QLatin1Char('%')
                             : QStringLiteral("~%-100%");
            else
                mark = right ? QStringLiteral("=") : QStringLiteral("~");
            const QString text = ImportRules::oneLine(choice);
            // A text that begins like a weight gets a weight of its own first.
            if (!item.multiple && text.startsWith(QLatin1Char('%')))
                mark += right ? QStringLiteral("%100%") : QStringLiteral("%0%");
            out += QLatin1Char('\t') + mark + protectedText(text) + QLatin1Char('\n');
        }
        if (!item.explanation.isEmpty())
            out += QStringLiteral("\t####") + protectedText(item.explanation) + QLatin1Char('\n');
        out += QStringLiteral("}\n");
        if (notes) {
            bool gap = false;
            for (int i = 0; i + 1 < item.choices.size(); ++i)
                gap = gap ||
                      (item.choices.at(i).isEmpty() && !item.choices.mid(i + 1).join(QString()).isEmpty());
            if (gap)
                *notes << QStringLiteral("Item %1: its choices close up over the empty ones.").arg(item.id);
        }
    }
    return out.toUtf8();
}
