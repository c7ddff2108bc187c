// A second process for the import tests: appends many items to a user set in
// one import until it is killed or done.
//   import_child PATH COUNT
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "core/transfer/UserSetTransfer.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    Table table(TableFiles::SessionName, QString::fromLocal8Bit(argv[1]));
    QList<TransferItem> items;
    const int count = QString::fromLocal8Bit(argv[2]).toInt();
    for (int i = 0; i < count; ++i) {
        TransferItem item;
        item.section = 1 + i % 6;
        item.question = QStringLiteral("Imported %1 ").arg(i) + QString(2000, QLatin1Char('q'));
        item.addChoice(QStringLiteral("yes"), true);
        item.addChoice(QStringLiteral("no"), false);
        item.explanation = QStringLiteral("complete");
        items << item;
    }
    try {
        table.open();
        std::printf("appending\n");
        std::fflush(stdout);
        UserSetTransfer::appendAll(table, items, 1);
        std::printf("done\n");
        std::fflush(stdout);
    } catch (const TableError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
