#pragma once

#include "core/transfer/ImportResult.h"
#include "core/transfer/TransferItem.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// The question-file targets: a reader on any bytes. An input that imports
// must write out and read back as the same items, as far as the format
// carries them.
namespace ImportRoundTrip {

// What a format keeps of an item beyond its section, type and texts.
struct Carries
{
    bool emptyChoices = true; // false: the file closes up over empty choices
    bool lineBreaks = true;   // false: the question and explanation on one line
};

// The item as its format gives it back, normalised.
TransferItem carried(const TransferItem& item, Carries carries);
// Aborts unless both reads hold as many items and each carries the same.
void requireSame(const ImportResult& first, const ImportResult& second, Carries carries);

template <class Format> int check(const std::uint8_t* data, std::size_t size, Carries carries)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ImportResult first = Format::read(bytes);
    if (first.ok())
        requireSame(first, Format::read(Format::write(first.items)), carries);
    return 0;
}

} // namespace ImportRoundTrip
