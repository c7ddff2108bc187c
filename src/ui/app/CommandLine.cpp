#include "ui/app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace CommandLine {

int answerInfoOptions(int argc, char** argv)
{
    static const char* const infoOptions[] = {"-h", "--help", "--help-all", "-v", "--version"};
    bool asked = false;
    for (int i = 1; i < argc && !asked; ++i) {
        for (const char* option : infoOptions)
            asked = asked || std::strcmp(argv[i], option) == 0;
    }
    if (!asked)
        return -1;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velarix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELARIX_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Velarix 2.0 (Examora): timed practice exams for Exam VLX-210, Administering Linux "
                       "Servers, with a score report, an items review, notes and your own questions.\n"
                       "Started without options it opens its start window."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Answered here rather than by process(), which would end the process
    // from inside the parser, past every destructor.
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return 1;
    }
    const QString text =
        parser.isSet(version) && !parser.isSet(help)
            ? QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion()
            : parser.helpText().trimmed();
    std::fprintf(stdout, "%s\n", qPrintable(text));
    return 0;
}

} // namespace CommandLine
