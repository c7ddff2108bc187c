#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
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
    parser.addHelpOption();
    parser.addVersionOption();
    // Answers --help or --version and ends the process (an unknown option
    // beside them ends it with a message and exit code 1).
    parser.process(app);
    return 0;
}

} // namespace CommandLine
