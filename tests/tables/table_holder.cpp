// A second process for the table tests: holds a table open (shared or
// exclusive) until killed, or appends records in transactions until killed.
//   table_holder shared|exclusive|write PATH
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    Table table(TableFiles::SessionName, QString::fromLocal8Bit(argv[2]));
    try {
        table.setExclusive(mode == QLatin1String("exclusive"));
        table.open();
        std::printf("open\n");
        std::fflush(stdout);
        if (mode != QLatin1String("write")) {
            for (;;)
                QThread::sleep(1);
        }
        for (int batch = 0;; ++batch) {
            table.startTransaction();
            for (int i = 0; i < 50; ++i) {
                table.append();
                table.fieldByName(ItemRecord::Q_SECT).setAsInteger(1 + i % 6);
                table.fieldByName(ItemRecord::Q_TEXT).setAsString(QString(2000, QLatin1Char('x')));
                table.fieldByName(ItemRecord::Q_EXPL).setAsString(QStringLiteral("complete"));
                table.post();
            }
            table.commit();
            if (batch == 0) {
                std::printf("writing\n");
                std::fflush(stdout);
            }
        }
    } catch (const TableError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
}
