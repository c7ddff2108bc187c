// A second process for the full-disk test: run on a small file system of
// its own (a tmpfs the test mounts for it), it fills the disk and meets it
// full in each path, printing one line per path: "<path>: <message>".
//   fulldisk_child FOLDER
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <functional>

using namespace ItemRecord;

namespace {
void attempt(const char* what, const std::function<void()>& step)
{
    try {
        step();
        std::printf("%s: ok\n", what);
    } catch (const TableError& e) {
        std::printf("%s: %s\n", what, qPrintable(e.message()));
    }
    std::fflush(stdout);
}

void fillDisk(const QString& folder)
{
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    filler.open(QIODevice::Append);
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
}

void addRecord(Table& t)
{
    t.append();
    t.fieldByName(Q_TEXT).setAsString(QString(20000, u'x'));
    t.post();
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString path = QDir(folder).filePath(TableFiles::UserSet);
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    attempt("create with room", [&] { Table::createFile(path, TableFiles::SessionName, userSetSchema()); });
    {
        // Open while there is room, then the disk fills.
        Table t(TableFiles::SessionName, path);
        attempt("open with room", [&] { t.open(); });
        fillDisk(folder);
        attempt("write", [&] { addRecord(t); });
        attempt("count after", [&] {
            // The record stays pending, as it was before the post; given up,
            // the table is as it was.
            if (t.state() != Table::State::Insert)
                throw TableError(QStringLiteral("the record is no longer pending"));
            t.cancel();
            if (t.recordCount() != 0)
                throw TableError(QStringLiteral("%1 records").arg(t.recordCount()));
        });
    }
    // Closing gave back the room of the table's index: the disk is filled
    // again before each path.
    fillDisk(folder);
    attempt("open", [&] {
        Table t(TableFiles::SessionName, path);
        t.open();
    });
    fillDisk(folder);
    attempt("create", [&] {
        Table::createFile(QDir(folder).filePath(QStringLiteral("history.DAT")), TableFiles::SessionName,
                          userSetSchema());
    });
    QFile::remove(QDir(folder).filePath(QStringLiteral("filler")));
    attempt("room again", [&] {
        Table t(TableFiles::SessionName, path);
        t.open();
        addRecord(t);
        if (t.recordCount() != 1)
            throw TableError(QStringLiteral("%1 records").arg(t.recordCount()));
    });
    for (const QString& entry : QDir(folder).entryList(QDir::Files))
        std::printf("file %s\n", qPrintable(entry));
    return 0;
}
