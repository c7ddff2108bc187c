#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Where an item of an exam came from: the question bank or the candidate's
// own set. Its number there is the item's Q_OR_NUMBER in the current set.
enum class ItemSource { Bank, UserSet };

struct HistoryItem
{
    ItemSource source = ItemSource::Bank;
    std::int32_t number = 0; // Q_ID in its source
    bool correct = false;
};

struct SectionCount
{
    std::int32_t correct = 0;
    std::int32_t items = 0;
};

// One graded exam as the score history keeps it.
struct HistoryAttempt
{
    qint64 id = 0; // the history table's key; 0 until stored
    QDateTime when;
    QString examTitle;
    QString candidateName;
    std::int32_t items = 0;
    std::int32_t correct = 0;
    std::int32_t score = 0; // the shown score, 0 to 1000
    QString grade;          // "Pass" or "Fail"
    qint64 timeLimitSeconds = 0;
    qint64 timeUsedSeconds = 0;
    std::array<SectionCount, 6> sections{}; // sections 1 to 6
    std::vector<HistoryItem> results;       // in the order of the exam
};
