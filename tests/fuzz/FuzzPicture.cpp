#include "FuzzPicture.h"

#include "FuzzFile.h"
#include "ui/exam/PictureLoader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzFile::startApplication();
    return 0;
}

int FuzzPicture::loadOne(const std::uint8_t* data, std::size_t size, const QString& extension)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = FuzzFile::write(bytes, extension);
    QString error;
    const QImage image = PictureLoader::load(path, &error);
    FuzzFile::remove(path);
    if (image.isNull() == error.isEmpty())
        std::abort();
    if (!image.isNull() &&
        (image.width() > PictureLoader::MaxSide || image.height() > PictureLoader::MaxSide))
        std::abort();
    return 0;
}
