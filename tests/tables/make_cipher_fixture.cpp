// Writes the small table that tests/tables/fixtures holds, through the
// program's own table code, with whatever SQLCipher this machine has:
//   make_cipher_fixture OUT.DAT
// The committed fixture was made on Debian 12 (SQLCipher 3.4.1); its raw key
// is the one the program derives from its table password, written beside it.
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Database.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

using namespace ItemRecord;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    try {
        Session session(TableFiles::SessionName);
        session.registerPassword(TableFiles::Password);
        Table::createFile(out, TableFiles::SessionName, currentSetSchema());
        Table t(TableFiles::SessionName, out);
        t.open();
        for (int i = 1; i <= 3; ++i) {
            t.append();
            t.fieldByName(Q_OR_NUMBER).setAsInteger(100 + i);
            t.fieldByName(Q_EXAM_N).setAsInteger(i);
            t.fieldByName(Q_SECT).setAsInteger(i + 1);
            t.fieldByName(Q_TEXT).setAsString(QStringLiteral("Question %1 written by SQLCipher 3.4").arg(i));
            t.fieldByName(choiceText(1)).setAsString(QStringLiteral("yes"));
            t.fieldByName(choiceFlag(1)).setAsBoolean(i % 2 == 1);
            if (i == 2)
                t.fieldByName(U_MEMO).setAsString(QStringLiteral("007 a note\nover two lines: äöü"));
            t.post();
        }
        Database db;
        db.open(out, session.rawKey());
        std::printf("%s %s\n", qPrintable(db.cipherVersion()), session.rawKey().toHex().constData());
    } catch (const TableError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
