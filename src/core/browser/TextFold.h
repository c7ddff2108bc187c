#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <utility>
#include <vector>

// Text as the search compares it: case folded and without accents (each
// character decomposed, its combining marks dropped), so "Été" and "ete"
// are the same word.
namespace TextFold {

QString fold(QStringView text);
// Appends fold(text) as UTF-8.
void appendFoldedUtf8(QStringView text, QByteArray& out);
// The words of a search, folded, in the order typed.
QStringList words(const QString& search);
// Where any of `foldedWords` occurs in `text`: ranges [start, end) of the
// original text, in order, overlapping ones merged.
std::vector<std::pair<int, int>> matches(const QString& text, const QStringList& foldedWords);

} // namespace TextFold
