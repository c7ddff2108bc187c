// Builds the item tables of a program folder from the bank's source:
//   velarix-bankbuild --source data/bank --program build/program [--lint data/exhibits]
// With --lint-only it checks the source and writes nothing.
#include "BankLint.h"
#include "BankSource.h"
#include "BankWriter.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds velarix2.DAT, ces.DAT and velarix2usr.DAT."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("source"), QStringLiteral("Folder of the bank's JSON files."),
                      QStringLiteral("dir")});
    parser.addOption(
        {QStringLiteral("program"), QStringLiteral("The program folder to write."), QStringLiteral("dir")});
    parser.addOption({QStringLiteral("lint"),
                      QStringLiteral("Also check the shipped bank's rules, with the exhibit sources in dir."),
                      QStringLiteral("dir")});
    parser.addOption({QStringLiteral("lint-only"), QStringLiteral("Check only; write nothing.")});
    parser.process(app);

    auto fail = [](const QStringList& messages) {
        for (const QString& m : messages)
            std::fprintf(stderr, "%s\n", qPrintable(m));
        return 1;
    };
    if (!parser.isSet(QStringLiteral("source")))
        return fail({QStringLiteral("--source is required")});
    const QString programDir = parser.value(QStringLiteral("program"));

    BankSource source;
    if (!source.readFolder(parser.value(QStringLiteral("source"))))
        return fail(source.errors());
    if (!source.checkInvariants(programDir))
        return fail(source.errors());
    if (parser.isSet(QStringLiteral("lint"))) {
        // The figures first, passing or not: they say how far each limit is.
        for (const QString& line : BankLint::report(source.items()))
            std::printf("%s\n", qPrintable(line));
        std::fflush(stdout);
        const QStringList problems = BankLint::check(source.items(), parser.value(QStringLiteral("lint")));
        if (!problems.isEmpty())
            return fail(problems);
        std::printf("lint: %lld items pass\n", qlonglong(source.items().size()));
    }
    if (parser.isSet(QStringLiteral("lint-only")))
        return 0;
    if (programDir.isEmpty())
        return fail({QStringLiteral("--program is required")});

    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    const QDir dir(programDir);
    QString error;
    // The candidate's own tables are made in their data folder when first needed.
    if (!BankWriter::writeBank(source.items(), dir.filePath(TableFiles::Bank), &error))
        return fail({error});
    std::printf("bank: %lld items written to %s\n", qlonglong(source.items().size()),
                qPrintable(dir.filePath(TableFiles::Bank)));
    return 0;
}
