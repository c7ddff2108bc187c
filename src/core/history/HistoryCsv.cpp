#include "core/history/HistoryCsv.h"

#include "core/store/SectionNames.h"

#include <QSaveFile>
#include <QStringList>

namespace HistoryCsv {

namespace {
QString field(const QString& s)
{
    if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"')) && !s.contains(QLatin1Char('\n')) &&
        !s.contains(QLatin1Char('\r')))
        return s;
    QString quoted = s;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
} // namespace

QString duration(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString text(const std::vector<HistoryAttempt>& attempts)
{
    QStringList header{QStringLiteral("Date"),  QStringLiteral("Exam"),       QStringLiteral("Candidate"),
                       QStringLiteral("Items"), QStringLiteral("Correct"),    QStringLiteral("Score"),
                       QStringLiteral("Grade"), QStringLiteral("Time limit"), QStringLiteral("Time used")};
    for (const QString& name : SectionNames::all())
        header << name + QStringLiteral(" correct") << name + QStringLiteral(" items");
    QStringList lines;
    for (QString& h : header)
        h = field(h);
    lines << header.join(QLatin1Char(','));
    for (const HistoryAttempt& a : attempts) {
        QStringList f{a.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                      a.examTitle,
                      a.candidateName,
                      QString::number(a.items),
                      QString::number(a.correct),
                      QString::number(a.score),
                      a.grade,
                      duration(a.timeLimitSeconds),
                      duration(a.timeUsedSeconds)};
        for (const SectionCount& s : a.sections)
            f << QString::number(s.correct) << QString::number(s.items);
        for (QString& x : f)
            x = field(x);
        lines << f.join(QLatin1Char(','));
    }
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

bool write(const QString& fileName, const std::vector<HistoryAttempt>& attempts, QString* error)
{
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(text(attempts).toUtf8());
        if (file.commit())
            return true;
    }
    if (error)
        *error = QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString());
    return false;
}

} // namespace HistoryCsv
