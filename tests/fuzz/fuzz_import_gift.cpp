// libFuzzer target: the GIFT question reader on any bytes. An input that
// imports must write out and read back as the same items.
#include "ImportRoundTrip.h"
#include "core/transfer/GiftFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A GIFT file closes up over empty choices.
    return ImportRoundTrip::check<GiftFormat>(data, size, {.emptyChoices = false});
}
