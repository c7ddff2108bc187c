#include "core/transfer/CsvFormat.h"

#include "core/transfer/ImportRules.h"

#include <QHash>

namespace {
struct Record
{
    int line = 0;
    QStringList fields;
};

const QStringList& columnNames()
{
    static const QStringList names{
        QStringLiteral("section"), QStringLiteral("type"),       QStringLiteral("question"),
        QStringLiteral("a"),       QStringLiteral("b"),          QStringLiteral("c"),
        QStringLiteral("d"),       QStringLiteral("e"),          QStringLiteral("f"),
        QStringLiteral("correct"), QStringLiteral("explanation")};
    return names;
}

bool blank(const Record& r)
{
    for (const QString& f : r.fields) {
        if (!f.trimmed().isEmpty())
            return false;
    }
    return true;
}

// Splits the text into records; a quoted field may hold separators, line
// ends and doubled quotes. False (with a problem) for a quote left open.
bool splitRecords(const QString& text, QChar separator, QList<Record>* records, ImportResult* result,
                  ImportProgress* progress)
{
    QList<ImportProblem>* problems = &result->problems;
    Record record;
    QString field;
    bool quoted = false;    // inside quotes
    bool wasQuoted = false; // the field began with a quote
    int line = 1;
    record.line = 1;
    qsizetype filled = 0; // rows that are not blank
    auto endField = [&] {
        record.fields << field;
        field.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i % 65536 == 0 && ImportRules::stop(progress, i, text.size(), result))
            return false;
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.trimmed().isEmpty() && !wasQuoted) {
            field.clear(); // blanks before the opening quote do not count
            quoted = true;
            wasQuoted = true;
        } else if (c == separator) {
            endField();
        } else if (c == u'\n') {
            endField();
            *records << record;
            record = Record();
            record.line = ++line;
            // The header and one row per question: no more are needed to
            // tell that the file holds too many.
            if (!blank(records->last()) && ++filled > ImportRules::MaxQuestions + 1) {
                records->clear();
                *problems << ImportRules::tooManyQuestions();
                return false;
            }
        } else {
            field += c;
        }
    }
    if (quoted) {
        *problems << ImportProblem{record.line, QStringLiteral("A quoted field is not closed.")};
        return false;
    }
    endField();
    *records << record;
    return true;
}

QString quotedField(const QString& text)
{
    const bool needs = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                       text.contains(QLatin1Char(';')) ||
                       (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!needs)
        return text;
    QString t = text;
    t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + t + QLatin1Char('"');
}
} // namespace

ImportResult CsvFormat::read(const QByteArray& bytes, ImportProgress* progress)
{
    ImportResult result;
    QString text;
    if (!ImportRules::decode(bytes, &text, &result.problems))
        return result;
    QString firstLine;
    for (const QString& l : QStringView(text).left(64 * 1024).toString().split(QLatin1Char('\n'))) {
        if (!l.trimmed().isEmpty()) {
            firstLine = l;
            break;
        }
    }
    const QChar separator =
        !firstLine.contains(QLatin1Char(',')) && firstLine.contains(QLatin1Char(';')) ? u';' : u',';
    QList<Record> records;
    if (!splitRecords(text, separator, &records, &result, progress))
        return result;
    auto problem = [&](int line, const QString& message) { result.problems << ImportProblem{line, message}; };

    qsizetype first = 0;
    while (first < records.size() && blank(records.at(first)))
        ++first;
    if (first == records.size()) {
        problem(0, QStringLiteral("The file is empty; it needs a header row: %1.")
                       .arg(columnNames().join(QLatin1Char(','))));
        return result;
    }
    const Record& header = records.at(first);
    QHash<QString, int> column; // name -> field index
    for (int i = 0; i < header.fields.size(); ++i) {
        const QString name = header.fields.at(i).trimmed().toLower();
        if (name.isEmpty() && i == header.fields.size() - 1)
            continue; // a trailing separator
        if (!columnNames().contains(name))
            problem(header.line, QStringLiteral("The column \"%1\" is not known; the columns are %2.")
                                     .arg(ImportRules::excerpt(header.fields.at(i).trimmed()),
                                          columnNames().join(QLatin1Char(','))));
        else if (column.contains(name))
            problem(header.line, QStringLiteral("The column \"%1\" appears twice.").arg(name));
        else
            column.insert(name, i);
    }
    for (const QString& needed : {QStringLiteral("question"), QStringLiteral("correct")}) {
        if (!column.contains(needed))
            problem(header.line, QStringLiteral("The header row has no column \"%1\".").arg(needed));
    }
    if (!result.problems.isEmpty())
        return result;

    for (qsizetype r = first + 1; r < records.size(); ++r) {
        if (r % 1024 == 0 && ImportRules::stop(progress, r, records.size(), &result))
            return result;
        const Record& rec = records.at(r);
        if (blank(rec))
            continue;
        auto value = [&](const QString& name) {
            const int i = column.value(name, -1);
            return i < 0 ? QString() : rec.fields.value(i);
        };
        for (int i = int(header.fields.size()); i < rec.fields.size(); ++i) {
            if (!rec.fields.at(i).trimmed().isEmpty()) {
                problem(rec.line, QStringLiteral("The row has %1 fields; the header has %2.")
                                      .arg(rec.fields.size())
                                      .arg(header.fields.size()));
                break;
            }
        }
        TransferItem item;
        item.line = rec.line;
        const QString sectionText = value(QStringLiteral("section")).trimmed();
        const int section = ImportRules::sectionNumber(sectionText);
        if (section < 0)
            problem(rec.line, QStringLiteral("\"%1\" is not a section; give 1 to 6 or a section name.")
                                  .arg(ImportRules::excerpt(sectionText)));
        else if (section == 0 && !sectionText.isEmpty())
            problem(rec.line, QStringLiteral("The section 0 is outside 1 to 6."));
        else
            item.section = section;
        item.question = ImportRules::cleanText(value(QStringLiteral("question")));
        for (int k = 0; k < ImportRules::MaxChoices; ++k)
            item.addChoice(ImportRules::oneLine(value(QString(QChar(u'a' + k)))), false);
        QList<int> letters;
        QString bad;
        if (!ImportRules::parseLetters(value(QStringLiteral("correct")), &letters, &bad))
            problem(rec.line, QStringLiteral("\"%1\" in the correct column is not a choice letter.")
                                  .arg(ImportRules::excerpt(bad)));
        for (int index : letters) {
            if (index >= ImportRules::MaxChoices)
                problem(rec.line, QStringLiteral("The correct letter %1 is not one of A to F.")
                                      .arg(ImportRules::letter(index)));
            else
                item.correct[index] = true;
        }
        const QString type = value(QStringLiteral("type")).trimmed().toLower();
        if (type.isEmpty())
            item.multiple = letters.size() > 1;
        else if (type == QLatin1String("single"))
            item.multiple = false;
        else if (type == QLatin1String("multiple"))
            item.multiple = true;
        else
            problem(rec.line, QStringLiteral("The type \"%1\" is not known; use single or multiple.")
                                  .arg(ImportRules::excerpt(value(QStringLiteral("type")).trimmed())));
        item.explanation = ImportRules::cleanText(value(QStringLiteral("explanation")));
        result.items << item;
        if (ImportRules::overLimit(&result))
            return result;
    }
    ImportRules::checkAll(&result, progress);
    return result;
}

QByteArray CsvFormat::write(const QList<TransferItem>& items)
{
    QString out = columnNames().join(QLatin1Char(',')) + QStringLiteral("\r\n");
    for (const TransferItem& item : items) {
        QStringList fields;
        fields << (item.section > 0 ? QString::number(item.section) : QString())
               << (item.multiple ? QStringLiteral("multiple") : QStringLiteral("single"))
               << quotedField(item.question);
        QStringList letters;
        for (int k = 0; k < ImportRules::MaxChoices; ++k) {
            fields << quotedField(item.choices.value(k));
            if (item.correct.value(k))
                letters << ImportRules::letter(k);
        }
        fields << letters.join(QLatin1Char(';')) << quotedField(item.explanation);
        out += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return out.toUtf8();
}
