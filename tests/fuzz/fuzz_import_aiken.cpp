// libFuzzer target: the Aiken question reader on any bytes. An input that
// imports must write out and read back as the same items.
#include "ImportRoundTrip.h"
#include "core/transfer/AikenFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An Aiken file closes up over empty choices and keeps every text on one line.
    return ImportRoundTrip::check<AikenFormat>(data, size, {.emptyChoices = false, .lineBreaks = false});
}
