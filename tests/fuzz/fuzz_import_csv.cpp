// libFuzzer target: the CSV question reader on any bytes. An input that
// imports must write out and read back as the same items.
#include "ImportRoundTrip.h"
#include "core/transfer/CsvFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A CSV file keeps every choice in its position and every line break.
    return ImportRoundTrip::check<CsvFormat>(data, size, {});
}
