#pragma once

#include "core/history/HistoryAttempt.h"
#include "core/learning/ItemState.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// One item as the question browser lists it: where it comes from, its
// texts, and what the candidate's answers to it have been.
struct BrowserItem
{
    ItemSource source = ItemSource::Bank;
    std::int32_t id = 0; // Q_ID in its source
    int section = 0;     // Q_SECT
    int exam = 0;        // Q_EXAM_N, 1 to 6; 0 for the candidate's own items
    bool multiple = false;
    QString question;
    std::array<QString, 6> choices;  // a .. f; empty where there is none
    std::uint8_t correctChoices = 0; // bit k - 1: choice k is right
    QString explanation;
    QString note;
    QString picture1; // exhibit files, empty when there is none
    QString picture2;

    // The candidate's history with it.
    int seen = 0;
    int wrong = 0;
    ItemResult lastResult = ItemResult::None;
    qint64 lastMs = 0;       // when it was last graded
    double recall = 0;       // the chance of recall now; 0 when never graded
    bool due = false;        // seen, and its chance of recall below the desired retention
    bool picksKnown = false; // whether wrongPicks was recorded
    std::array<std::int32_t, 6> wrongPicks{};
};

// The browser's columns, in their first order.
namespace BrowserColumn {
enum Column { Id, Source, Section, Exam, Question, Seen, Wrong, LastResult, LastDate, Due, Note, Count };

QString title(int column);
// What the column shows for the item.
QString text(const BrowserItem& item, int column);
// Whether a sorts before b by the column (ascending); ties go by source and ID.
bool less(const BrowserItem& a, const BrowserItem& b, int column);
} // namespace BrowserColumn

QString resultText(ItemResult result);
