#pragma once

#include <QString>

// The exam options kept from one run to the next, besides the fonts.
struct ExamOptions
{
    bool ShowLearnBtn = false;
    bool ShowCalcBtn = true;
    bool TimerOn = true;
    int DefaultTime = 90; // minutes
    QString CalcPath;
};
