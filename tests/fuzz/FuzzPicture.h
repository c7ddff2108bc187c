#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

// The picture targets: the exhibit loader on any bytes, saved as a file with
// the target's extension. This file's object also starts the Qt application
// the loader needs, in libFuzzer's start-up hook, so a target holds its
// LLVMFuzzerTestOneInput alone.
namespace FuzzPicture {

// Loads the bytes as a picture; aborts unless the loader gives either a
// picture within its caps or an error text, never both or neither.
int loadOne(const std::uint8_t* data, std::size_t size, const QString& extension);

} // namespace FuzzPicture
