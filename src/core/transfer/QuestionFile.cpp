#include "core/transfer/QuestionFile.h"

#include "core/transfer/AikenFormat.h"
#include "core/transfer/CsvFormat.h"
#include "core/transfer/GiftFormat.h"
#include "core/transfer/ImportRules.h"
#include "core/transfer/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

QString QuestionFile::importFilters()
{
    return QStringList{giftFilter(), aikenFilter(), csvFilter(), allFilter()}.join(QStringLiteral(";;"));
}

QString QuestionFile::exportFilters()
{
    return QStringList{giftFilter(), aikenFilter(), csvFilter()}.join(QStringLiteral(";;"));
}

QuestionFile::Format QuestionFile::formatOfFilter(const QString& filter)
{
    if (filter == giftFilter())
        return Format::Gift;
    if (filter == aikenFilter())
        return Format::Aiken;
    if (filter == csvFilter())
        return Format::Csv;
    return Format::Unknown;
}

QuestionFile::Format QuestionFile::importFormat(const QString& filter, const QString& path)
{
    const Format chosen = formatOfFilter(filter);
    const QFileInfo info(path);
    const bool text = info.suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
    if (!text || (chosen != Format::Gift && chosen != Format::Aiken) || !info.isFile())
        return chosen;
    // The head is enough to tell them apart; a file that shows neither is
    // read as the filter says, with that format's own messages.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return chosen;
    const Format shown = detect(file.read(64 * 1024), path);
    return shown == Format::Gift || shown == Format::Aiken ? shown : chosen;
}

QString QuestionFile::name(Format format)
{
    switch (format) {
    case Format::Gift:
        return QStringLiteral("GIFT");
    case Format::Aiken:
        return QStringLiteral("Aiken");
    case Format::Csv:
        return QStringLiteral("CSV");
    case Format::Unknown:
        break;
    }
    return {};
}

QString QuestionFile::suffix(Format format)
{
    switch (format) {
    case Format::Gift:
        return QStringLiteral("gift");
    case Format::Aiken:
        return QStringLiteral("txt");
    case Format::Csv:
        return QStringLiteral("csv");
    case Format::Unknown:
        break;
    }
    return {};
}

QuestionFile::Format QuestionFile::detect(const QByteArray& bytes, const QString& fileName)
{
    // Look at the head of the file only: a large file shows its kind early.
    QString head = QString::fromUtf8(bytes.left(64 * 1024));
    if (head.startsWith(QChar(0xFEFF)))
        head.remove(0, 1);
    head.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    head.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = head.split(QLatin1Char('\n'));
    QString firstLine;
    for (const QString& l : lines) {
        if (!l.trimmed().isEmpty()) {
            firstLine = l.trimmed().toLower();
            break;
        }
    }
    static const QRegularExpression headerNames(
        QStringLiteral("^(section|type|question|[a-f]|correct|explanation)$"));
    const QStringList cells = firstLine.split(firstLine.contains(QLatin1Char(',')) ? u',' : u';');
    bool csvHeader = cells.size() >= 3 && cells.contains(QStringLiteral("question"));
    for (const QString& cell : cells)
        csvHeader = csvHeader && (cell.trimmed().isEmpty() || headerNames.match(cell.trimmed()).hasMatch());
    if (csvHeader)
        return Format::Csv;

    static const QRegularExpression answerLine(QStringLiteral("^\\s*ANSWER\\s*:"),
                                               QRegularExpression::CaseInsensitiveOption);
    bool giftMarks = false, aikenMarks = false;
    for (const QString& l : lines) {
        const QString t = l.trimmed();
        if (t.startsWith(QLatin1String("$CATEGORY:"), Qt::CaseInsensitive) ||
            t.startsWith(QLatin1String("::")) || t.endsWith(u'}') || t.contains(QLatin1String("{=")) ||
            t.contains(QLatin1String("{~")))
            giftMarks = true;
        if (answerLine.match(t).hasMatch())
            aikenMarks = true;
    }
    if (aikenMarks && !giftMarks)
        return Format::Aiken;
    if (giftMarks && !aikenMarks)
        return Format::Gift;
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("gift"))
        return Format::Gift;
    if (ext == QLatin1String("csv"))
        return Format::Csv;
    if (aikenMarks)
        return Format::Aiken;
    return Format::Unknown;
}

ImportResult QuestionFile::parse(const QByteArray& bytes, Format format, ImportProgress* progress)
{
    switch (format) {
    case Format::Gift:
        return GiftFormat::read(bytes, progress);
    case Format::Aiken:
        return AikenFormat::read(bytes, progress);
    case Format::Csv:
        return CsvFormat::read(bytes, progress);
    case Format::Unknown:
        break;
    }
    ImportResult result;
    result.problems << ImportProblem{0, QStringLiteral("The file is neither GIFT, Aiken nor CSV; choose its "
                                                       "format in the file chooser.")};
    return result;
}

ImportResult QuestionFile::read(const QString& path, Format format, ImportProgress* progress)
{
    ImportResult result;
    QFile file;
    QString error;
    if (!openRegularFile(&file, path, &error)) {
        result.problems << ImportProblem{0, QStringLiteral("The file cannot be read: %1.").arg(error)};
        return result;
    }
    // Refuse a large file before reading it.
    if (file.size() > ImportRules::MaxFileBytes) {
        result.problems << ImportProblem{0, QStringLiteral("The file is larger than 16 MB.")};
        return result;
    }
    const QByteArray bytes = file.read(ImportRules::MaxFileBytes + 1);
    if (format == Format::Unknown)
        format = detect(bytes, path);
    ImportResult parsed = parse(bytes, format, progress);
    parsed.format = name(format);
    if (progress && !parsed.cancelled)
        progress->at(ImportProgress::Phase::Checking, 1, 1);
    return parsed;
}

QByteArray QuestionFile::serialize(const QList<TransferItem>& items, Format format, QStringList* notes)
{
    QStringList formatNotes;
    QByteArray bytes;
    switch (format) {
    case Format::Gift:
        bytes = GiftFormat::write(items, &formatNotes);
        break;
    case Format::Aiken:
        bytes = AikenFormat::write(items, &formatNotes);
        break;
    case Format::Csv:
        bytes = CsvFormat::write(items);
        break;
    case Format::Unknown:
        break;
    }
    if (notes) {
        for (const TransferItem& item : items) {
            QList<ImportProblem> problems;
            ImportRules::check(item, &problems);
            for (const ImportProblem& p : problems)
                *notes << QStringLiteral("Item %1: %2 It will not import back as it is.")
                              .arg(item.id)
                              .arg(p.message);
            if (item.section == 0 && format != Format::Aiken)
                *notes << QStringLiteral("Item %1: it has no section; an import asks for one.").arg(item.id);
        }
        *notes << formatNotes;
    }
    return bytes;
}

bool QuestionFile::write(const QString& path, Format format, const QList<TransferItem>& items,
                         QStringList* notes, QString* error)
{
    Q_ASSERT(error);
    if (format == Format::Unknown) {
        *error = QStringLiteral("No file format was chosen.");
        return false;
    }
    const QByteArray bytes = serialize(items, format, notes);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("The file \"%1\" cannot be written: %2.")
                     .arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    return true;
}
