#pragma once

#include <QString>

// One thing wrong with a file, or one question left out of it.
struct ImportProblem
{
    int line = 0; // 1-based; 0 for the file as a whole
    QString message;

    bool operator==(const ImportProblem& other) const
    {
        return line == other.line && message == other.message;
    }
};
