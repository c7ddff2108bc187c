#pragma once

#include <QString>

class Table;

// Checks an item for faults that make it impossible to score as right, so
// that the sampler can warn before saving it.
namespace ItemCheck {

// Why the current record of `items` (its edit buffer while editing) can
// never be answered correctly; empty when it can. A single-response item
// with more than one correct choice cannot be: one selection matches one
// flag only. Neither can an item whose correct choice has no text, since a
// choice without text is not shown to be selected.
QString neverCorrectReason(Table& items);

// The question the sampler asks before saving such an item.
QString saveAnywayQuestion(const QString& reason);

} // namespace ItemCheck
