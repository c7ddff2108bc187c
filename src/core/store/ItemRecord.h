#pragma once

#include "core/tables/FieldDef.h"

#include <QString>

// The fields of an item and the layout of the three item tables.
namespace ItemRecord {
inline const QString Q_ID = QStringLiteral("Q_ID");
inline const QString Q_EXAM_N = QStringLiteral("Q_EXAM_N");
inline const QString Q_SECT = QStringLiteral("Q_SECT");
inline const QString Q_TEXT = QStringLiteral("Q_TEXT");
inline const QString Q_EXPL = QStringLiteral("Q_EXPL");
inline const QString Q_TYPE = QStringLiteral("Q_TYPE");
inline const QString Q_SIM = QStringLiteral("Q_SIM");
inline const QString PICT1 = QStringLiteral("PICT1");
inline const QString PICT2 = QStringLiteral("PICT2");
inline const QString Q_OR_NUMBER = QStringLiteral("Q_OR_NUMBER");
inline const QString U_MEMO = QStringLiteral("U_MEMO");

constexpr int ChoiceCount = 6;
QString choiceText(int k); // "Q1" .. "Q6", k from 1
QString choiceFlag(int k); // "A1" .. "A6", k from 1

TableSchema bankSchema();       // all fields but Q_OR_NUMBER; Q_ID written by the bank builder
TableSchema currentSetSchema(); // all 23 fields; Q_ID assigned by the table
TableSchema userSetSchema();    // the fields the sampler edits; Q_ID auto-increment
} // namespace ItemRecord
