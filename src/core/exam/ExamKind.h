#pragma once

#include "core/exam/ExamAssembly.h"

#include <QString>

// One of the kinds of exam the exam window starts: what its name dialog is
// called, the exam's title, and the items it draws on.
struct ExamKind
{
    QString caption; // the name dialog's title
    QString title;   // the exam's title in the header, the reports and the history
    ExamAssembly::Source source = ExamAssembly::Source::Bank;
    QString filter;           // the bank items it draws on
    bool chooseCount = false; // the candidate says how many items are drawn

    static ExamKind practice(int exam); // 1..5: A..E
    static ExamKind allQuestions();
    static ExamKind random();
    static ExamKind user();
    static ExamKind retake(); // from the bank, the user set or both
    // The items the candidate is about to forget, then those never seen,
    // keeping each section's share of the bank.
    static ExamKind smartReview();
};
