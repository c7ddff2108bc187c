// The process the creation kill tests kill: it makes one table through the
// program's own code in the folder it is given, then prints "done" and the
// number of writes the table engine made. With VELARIX_FAULT_KILL_AT=n it is
// killed at the engine's n-th write; a notice about a damaged table is
// printed as "notice ...".
//   tablecreate_child history|current|userset|notes|bank FOLDER
#include "BankWriter.h"
#include "FaultVfs.h"
#include "core/exam/ExamAssembly.h"
#include "core/history/ScoreHistory.h"
#include "core/store/ItemRecord.h"
#include "core/store/NoteBook.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "core/tables/TableRenewal.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {
void tell(const QString& notice)
{
    if (!notice.isEmpty())
        std::printf("notice %s\n", qPrintable(notice));
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    session.rawKey(); // derived before the first write is counted
    QDir::setCurrent(folder);
    FaultVfs::install();
    FaultVfs::reset();
    FaultVfs::armFromEnvironment();
    try {
        if (mode == QLatin1String("history")) {
            // The first grading: the history is made and the attempt recorded.
            HistoryAttempt attempt;
            attempt.when = QDateTime(QDate(2026, 12, 10), QTime(6, 12));
            attempt.examTitle = QStringLiteral("Practice Exam A");
            attempt.items = 60;
            attempt.correct = 45;
            attempt.score = 750;
            attempt.grade = QStringLiteral("Pass");
            QString error, notice;
            const bool recorded = ScoreHistory(folder).append(attempt, &error, &notice);
            tell(notice);
            if (!recorded)
                throw TableError(error);
        } else if (mode == QLatin1String("current")) {
            Table current(TableFiles::SessionName, TableFiles::CurrentSet);
            ExamAssembly::openCurrentSet(current);
        } else if (mode == QLatin1String("userset")) {
            // As every candidate table is opened: made when missing.
            Table own(TableFiles::SessionName, TableFiles::UserSet);
            tell(TableRenewal::openOrRenew(own, ItemRecord::userSetSchema(), TableKind::UserSet));
        } else if (mode == QLatin1String("notes")) {
            // The candidate's first note: the notes table is made for it.
            NoteBook(TableFiles::SessionName, QDir(folder).filePath(TableFiles::Notes))
                .save(7, QStringLiteral("The first note"));
        } else if (mode == QLatin1String("bank")) {
            QList<BankItem> items;
            for (int i = 1; i <= 30; ++i) {
                BankItem item;
                item.id = i;
                item.exam = 1 + i % 5;
                item.section = 1 + i % 6;
                item.question = QStringLiteral("Bank item %1 ").arg(i) + QString(1500, u'b');
                item.choices = QStringList{QStringLiteral("yes"), QStringLiteral("no")};
                item.correct[0] = true;
                items << item;
            }
            QString error;
            if (!BankWriter::writeBank(items, QDir(folder).filePath(TableFiles::Bank), &error))
                throw TableError(error);
        } else {
            return 2;
        }
    } catch (const TableError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("done %d\n", FaultVfs::writes());
    return 0;
}
