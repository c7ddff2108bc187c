#include "core/transfer/AikenFormat.h"

#include "core/transfer/ImportRules.h"

#include <QRegularExpression>

ImportResult AikenFormat::read(const QByteArray& bytes, ImportProgress* progress)
{
    ImportResult result;
    QString text;
    if (!ImportRules::decode(bytes, &text, &result.problems))
        return result;
    static const QRegularExpression answerLine(QStringLiteral("^ANSWER\\s*:\\s*(.*)$"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression explanationLine(QStringLiteral("^EXPLANATION\\s*:\\s*(.*)$"),
                                                    QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression choiceLine(QStringLiteral("^([A-Za-z])[.)](?:\\s+(.*))?$"));

    enum class State { Between, Question, Choices, Answered };
    State state = State::Between;
    TransferItem item;
    QStringList questionLines;
    auto problem = [&](int line, const QString& message) { result.problems << ImportProblem{line, message}; };
    auto start = [&](int line, const QString& first) {
        item = TransferItem();
        item.line = line;
        questionLines = QStringList{first};
        state = State::Question;
    };
    auto keep = [&] {
        item.question = questionLines.join(QLatin1Char('\n'));
        result.items << item;
        state = State::Between;
    };
    auto answer = [&](int line, const QString& letters) {
        QList<int> indexes;
        QString bad;
        if (!ImportRules::parseLetters(letters, &indexes, &bad))
            problem(line, QStringLiteral("\"%1\" in the ANSWER line is not a choice letter.")
                              .arg(ImportRules::excerpt(bad)));
        for (int index : indexes) {
            while (item.correct.size() <= index)
                item.addChoice(QString(), false);
            item.correct[index] = true;
        }
        item.multiple = indexes.size() > 1;
        state = State::Answered;
    };

    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        if (n % 1024 == 0 && ImportRules::stop(progress, n, lines.size(), &result))
            return result;
        if (ImportRules::overLimit(&result))
            return result;
        const int line = n + 1;
        const QString t = lines.at(n).trimmed();
        if (t.isEmpty())
            continue;
        const QRegularExpressionMatch a = answerLine.match(t);
        const QRegularExpressionMatch e = explanationLine.match(t);
        const QRegularExpressionMatch c = choiceLine.match(t);
        if (state == State::Answered) {
            if (e.hasMatch()) {
                item.explanation = e.captured(1).trimmed();
                keep();
                continue;
            }
            keep();
        }
        switch (state) {
        case State::Between:
            if (a.hasMatch() || e.hasMatch())
                problem(line,
                        QStringLiteral("An %1 line stands without a question.")
                            .arg(a.hasMatch() ? QStringLiteral("ANSWER") : QStringLiteral("EXPLANATION")));
            else
                start(line, t); // a question's first line is its text, even if it looks like a choice
            break;
        case State::Question:
            if (a.hasMatch()) {
                answer(line, a.captured(1));
            } else if (c.hasMatch() && c.captured(1).toUpper() == QLatin1String("A")) {
                item.addChoice(c.captured(2).trimmed(), false);
                state = State::Choices;
            } else {
                questionLines << t;
            }
            break;
        case State::Choices:
            if (a.hasMatch()) {
                answer(line, a.captured(1));
            } else if (c.hasMatch()) {
                const QString expected = ImportRules::letter(int(item.choices.size()));
                if (c.captured(1).toUpper() != expected)
                    problem(line, QStringLiteral("Choice %1 stands where choice %2 belongs.")
                                      .arg(c.captured(1).toUpper(), expected));
                item.addChoice(c.captured(2).trimmed(), false);
            } else {
                problem(item.line, QStringLiteral("The question has no ANSWER line."));
                start(line, t);
            }
            break;
        case State::Answered:
            break;
        }
    }
    if (state == State::Answered)
        keep();
    else if (state != State::Between)
        problem(item.line, QStringLiteral("The question has no ANSWER line."));
    if (!ImportRules::overLimit(&result))
        ImportRules::checkAll(&result, progress);
    return result;
}

QByteArray AikenFormat::write(const QList<TransferItem>& items, QStringList* notes)
{
    QString out;
    for (const TransferItem& item : items) {
        bool joined =
            item.question.contains(QLatin1Char('\n')) || item.explanation.contains(QLatin1Char('\n'));
        bool gap = false;
        out += ImportRules::oneLine(item.question) + QLatin1Char('\n');
        QStringList letters;
        int written = 0;
        for (int i = 0; i < item.choices.size(); ++i) {
            const QString& choice = item.choices.at(i);
            if (choice.isEmpty()) {
                gap = true;
                continue;
            }
            joined = joined || choice.contains(QLatin1Char('\n'));
            const QString letter = ImportRules::letter(written++);
            out += letter + QStringLiteral(". ") + ImportRules::oneLine(choice) + QLatin1Char('\n');
            if (item.correct.value(i))
                letters << letter;
        }
        out += QStringLiteral("ANSWER: ") + letters.join(QStringLiteral(", ")) + QLatin1Char('\n');
        if (!item.explanation.isEmpty())
            out +=
                QStringLiteral("EXPLANATION: ") + ImportRules::oneLine(item.explanation) + QLatin1Char('\n');
        out += QLatin1Char('\n');
        if (!notes)
            continue;
        gap = gap && written > 0 && [&] {
            // only a gap before a later choice moves letters
            bool seenEmpty = false;
            for (const QString& c : item.choices) {
                if (c.isEmpty())
                    seenEmpty = true;
                else if (seenEmpty)
                    return true;
            }
            return false;
        }();
        if (joined)
            *notes << QStringLiteral("Item %1: its line breaks are written as blanks.").arg(item.id);
        if (gap)
            *notes << QStringLiteral("Item %1: its choices close up over the empty ones.").arg(item.id);
        if (item.multiple && letters.size() == 1)
            *notes << QStringLiteral("Item %1: multiple response with one correct choice reads back as "
                                     "single response.")
                          .arg(item.id);
    }
    return out.toUtf8();
}
