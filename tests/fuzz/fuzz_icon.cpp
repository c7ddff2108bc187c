// Fuzzes the exhibit picture loader with .ico files.
#include "FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return FuzzPicture::loadOne(data, size, QStringLiteral("ico"));
}
