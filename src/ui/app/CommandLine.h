#pragma once

// The program takes no options but the two every installed program answers:
// --help and --version (and -h, -v). They are answered before anything
// else, so they need no display and never take the single-instance lock.
namespace CommandLine {

inline constexpr const char* DesktopFileName = "com.examora.velarix";

// -1 when the program is to start; else the exit code after answering.
int answerInfoOptions(int argc, char** argv);

} // namespace CommandLine
