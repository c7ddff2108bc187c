#pragma once

#include "BankItem.h"

#include <QList>
#include <QString>
#include <QStringList>

// Reads the bank's source (JSON files, each an array of items) and checks
// the invariants every table of items relies on. Each problem is one message
// naming the item and the rule.
class BankSource
{
public:
    // Reads every *.json of a folder, in file name order.
    bool readFolder(const QString& folder);
    bool readFile(const QString& path);
    bool parse(const QByteArray& json, const QString& fileName);

    // Q_ID 1..n without gaps, Q_SECT 1..6, exhibit pictures present under
    // programDir (skipped when programDir is empty).
    bool checkInvariants(const QString& programDir);

    const QList<BankItem>& items() const { return m_items; }
    const QStringList& errors() const { return m_errors; }

private:
    bool parseItem(const class QJsonObject& object, const QString& origin, BankItem* item);

    QList<BankItem> m_items;
    QStringList m_errors;
};
