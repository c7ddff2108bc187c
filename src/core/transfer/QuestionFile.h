#pragma once

#include "core/transfer/ImportProgress.h"
#include "core/transfer/ImportResult.h"
#include "core/transfer/TransferItem.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Question files on disk: the format a file chooser's filter or a file's
// content names, reading with the size limit, and writing atomically.
class QuestionFile
{
public:
    enum class Format { Unknown, Gift, Aiken, Csv };

    static QString giftFilter() { return QStringLiteral("GIFT files (*.gift *.txt)"); }
    static QString aikenFilter() { return QStringLiteral("Aiken files (*.txt)"); }
    static QString csvFilter() { return QStringLiteral("CSV files (*.csv)"); }
    static QString allFilter() { return QStringLiteral("All files (*)"); }
    static QString importFilters(); // the four, as a file chooser takes them
    static QString exportFilters(); // the three formats

    // Unknown for "All files" (or any other text).
    static Format formatOfFilter(const QString& filter);
    // The format to read a chosen file in: the filter's, except that a .txt
    // under the GIFT or the Aiken filter (both take .txt) is read as its
    // content shows, when it shows one of the two.
    static Format importFormat(const QString& filter, const QString& path);
    // "GIFT", "Aiken" or "CSV"; empty for Unknown.
    static QString name(Format format);
    // The format a file's content shows, its name's suffix deciding when the
    // content does not.
    static Format detect(const QByteArray& bytes, const QString& fileName);
    // "gift", "txt" or "csv".
    static QString suffix(Format format);

    static ImportResult parse(const QByteArray& bytes, Format format, ImportProgress* progress = nullptr);
    // Reads the file and parses it in the given format (Unknown: detected).
    // Anything but a regular file is refused before it is read. With a
    // progress, the reading reports how far it is and stops on a cancel.
    static ImportResult read(const QString& path, Format format, ImportProgress* progress = nullptr);

    // The items in the format; notes gets what the file cannot carry, and
    // every item that would not import back, by Q_ID.
    static QByteArray serialize(const QList<TransferItem>& items, Format format,
                                QStringList* notes = nullptr);
    // Writes the file in place of any old one only once it is whole.
    static bool write(const QString& path, Format format, const QList<TransferItem>& items,
                      QStringList* notes, QString* error);
};
