// Fuzzes the exhibit picture loader with .bmp files.
#include "FuzzFile.h"
#include "exam/PictureLoader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzFile::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = FuzzFile::write(bytes, QStringLiteral("bmp"));
    QString error;
    const QImage image = PictureLoader::load(path, &error);
    FuzzFile::remove(path);
    // Either a picture within the caps or an error text, never both or neither.
    if (image.isNull() == error.isEmpty())
        std::abort();
    if (!image.isNull() &&
        (image.width() > PictureLoader::MaxSide || image.height() > PictureLoader::MaxSide))
        std::abort();
    return 0;
}
