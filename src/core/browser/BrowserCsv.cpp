#include "core/browser/BrowserCsv.h"

#include <QDir>
#include <QSaveFile>

namespace BrowserCsv {

namespace {
QString field(const QString& value)
{
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
} // namespace

QString text(const QuestionIndex& index, const std::vector<int>& rows, const std::vector<int>& columns)
{
    QString out;
    QStringList line;
    for (int c : columns)
        line << field(BrowserColumn::title(c));
    out += line.join(QLatin1Char(',')) + QLatin1String("\r\n");
    for (int r : rows) {
        line.clear();
        for (int c : columns)
            line << field(BrowserColumn::text(index.item(r), c));
        out += line.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    return out;
}

bool write(const QString& fileName, const QString& text, QString* error)
{
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly)) {
        const QByteArray bytes = text.toUtf8();
        if (file.write(bytes) == bytes.size() && file.commit())
            return true;
    }
    if (error)
        *error = QStringLiteral("The list could not be written to %1.\n%2")
                     .arg(QDir::toNativeSeparators(fileName), file.errorString());
    return false;
}

} // namespace BrowserCsv
