#pragma once

#include <QString>
#include <QStringList>
#include <array>

// One item of the bank's human-readable source.
struct BankItem
{
    QString origin; // "file.json, item 17" for messages
    QString file;   // "file.json", to give each source file its own figures
    int id = 0;
    int exam = 0;
    int section = 0;
    bool multiple = false;
    QString question;
    QStringList choices;           // a.. in order, at most six
    std::array<bool, 6> correct{}; // a..f
    QString explanation;
    QString sim;
    QString pict1;
    QString pict2;
    QString memo;
};
