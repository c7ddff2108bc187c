#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One question as a file carries it: what an item of the user set holds,
// without its Q_ID. Choices keep their positions (a to f); an empty text is a
// choice that does not exist. A reader may give more than six choices; the
// import rules refuse such an item.
struct TransferItem
{
    int section = 0; // 1..6; 0 when the file names none
    bool multiple = false;
    QString question;
    QStringList choices;
    QList<bool> correct; // one flag per entry of choices
    QString explanation;
    int line = 0;  // where the item starts in its file (1-based); 0 when not read from a file
    qint64 id = 0; // the item's Q_ID when it comes from the user set

    void addChoice(const QString& text, bool isCorrect)
    {
        choices << text;
        correct << isCorrect;
    }
    // Items are equal when they hold the same question; where they came from does not count.
    bool operator==(const TransferItem& other) const
    {
        return section == other.section && multiple == other.multiple && question == other.question &&
               choices == other.choices && correct == other.correct && explanation == other.explanation;
    }
};
