#include "ui/exam/PictureLoader.h"

#include "core/transfer/RegularFile.h"
#include "ui/exam/MetafileToSvg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

quint16 u16(const QByteArray& d, qint64 at)
{
    return qFromLittleEndian<quint16>(d.constData() + at);
}

qint16 s16(const QByteArray& d, qint64 at)
{
    return qFromLittleEndian<qint16>(d.constData() + at);
}

quint32 u32(const QByteArray& d, qint64 at)
{
    return qFromLittleEndian<quint32>(d.constData() + at);
}

qint32 s32(const QByteArray& d, qint64 at)
{
    return qFromLittleEndian<qint32>(d.constData() + at);
}

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr quint32 EmfSignature = 0x464D4520; // " EMF"
constexpr qint64 PlaceableSize = 22;
constexpr qint64 WmfHeaderSize = 18;
constexpr qint64 EmfHeaderMin = 88;
constexpr quint32 EmrHeader = 1;
constexpr quint32 EmrEof = 14;

bool isEnhanced(const QByteArray& d)
{
    return d.size() >= 44 && u32(d, 0) == EmrHeader && u32(d, 40) == EmfSignature;
}

bool withinCaps(qint64 width, qint64 height)
{
    return width <= PictureLoader::MaxSide && height <= PictureLoader::MaxSide &&
           width * height <= PictureLoader::MaxPixels;
}

int pixels(double extent)
{
    return int(std::lround(std::min(std::abs(extent), 1e9)));
}

// A 16-bit metafile needs the placeable header, which gives its size in
// logical units and the units per inch; its records must lie inside the file.
QSize wmfSize(const QByteArray& d)
{
    if (d.size() < PlaceableSize + WmfHeaderSize || u32(d, 0) != PlaceableKey)
        return {};
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= u16(d, 2 * i);
    if (checksum != u16(d, 20))
        return {};
    const int inch = u16(d, 14);
    if (inch == 0)
        return {};
    const qint64 h = PlaceableSize;
    const quint16 type = u16(d, h);
    if ((type != 1 && type != 2) || u16(d, h + 2) != 9)
        return {};
    qint64 at = h + WmfHeaderSize;
    while (at < d.size()) {
        if (at + 6 > d.size())
            return {};
        const qint64 words = u32(d, at);
        if (words < 3 || at + 2 * words > d.size())
            return {};
        if (u16(d, at + 4) == 0) // META_EOF
            break;
        at += 2 * words;
    }
    const int left = s16(d, 6), top = s16(d, 8), right = s16(d, 10), bottom = s16(d, 12);
    return {pixels(double(right - left) * PictureLoader::MetafileDpi / inch),
            pixels(double(bottom - top) * PictureLoader::MetafileDpi / inch)};
}

// An enhanced metafile: its frame is in hundredths of a millimetre.
QSize emfSize(const QByteArray& d)
{
    if (d.size() < EmfHeaderMin)
        return {};
    const qint64 headerSize = u32(d, 4);
    if (headerSize < EmfHeaderMin || headerSize > d.size() || headerSize % 4 != 0)
        return {};
    qint64 at = 0;
    while (at < d.size()) {
        if (at + 8 > d.size())
            return {};
        const quint32 type = u32(d, at);
        const qint64 size = u32(d, at + 4);
        if (size < 8 || size % 4 != 0 || at + size > d.size())
            return {};
        if (type == EmrEof)
            break;
        at += size;
    }
    const qint64 left = s32(d, 24), top = s32(d, 28), right = s32(d, 32), bottom = s32(d, 36);
    return {pixels(double(right - left) * PictureLoader::MetafileDpi / 2540.0),
            pixels(double(bottom - top) * PictureLoader::MetafileDpi / 2540.0)};
}

QImage loadMetafile(QFile& file, QString* error)
{
    if (file.size() > PictureLoader::MaxMetafileBytes) {
        *error = PictureLoader::fileTooLarge(PictureLoader::metafileInvalid());
        return {};
    }
    const QByteArray data = file.readAll();
    bool enhanced = false;
    const QSize size = PictureLoader::metafileSize(data, &enhanced, error);
    if (!size.isValid())
        return {};

    char* svg = nullptr;
    size_t svgLength = 0;
    const int result = velarix_metafile_to_svg(
        enhanced ? VELARIX_EMF : VELARIX_WMF, reinterpret_cast<const unsigned char*>(data.constData()),
        size_t(data.size()), unsigned(size.width()), unsigned(size.height()),
        size_t(PictureLoader::MaxSvgBytes), PictureLoader::ConvertTimeoutMs, &svg, &svgLength);
    const std::unique_ptr<char, decltype(&std::free)> owner(svg, &std::free);
    if (result == VELARIX_CONVERT_TOO_LARGE || result == VELARIX_CONVERT_TIMEOUT) {
        *error = PictureLoader::tooComplex(PictureLoader::metafileInvalid());
        return {};
    }
    if (result != VELARIX_CONVERT_OK) {
        *error = PictureLoader::metafileInvalid();
        return {};
    }

    QSvgRenderer renderer(QByteArray(svg, qsizetype(svgLength)));
    if (!renderer.isValid()) {
        *error = PictureLoader::metafileInvalid();
        return {};
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        *error = PictureLoader::tooLarge(PictureLoader::metafileInvalid());
        return {};
    }
    // Like a metafile played onto a window, the picture leaves the
    // background it does not draw on as it is.
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// Whether a bitmap's header declares more pixels than are shown, read before
// any decoding: Qt's reader gives no size at all for the largest ones.
bool bitmapHeaderTooLarge(QFile& file)
{
    const QByteArray h = file.peek(26);
    if (h.size() < 26 || !h.startsWith("BM"))
        return false;
    const quint32 infoSize = u32(h, 14);
    if (infoSize == 12) // the old core header: 16-bit sizes
        return !withinCaps(u16(h, 18), u16(h, 20));
    if (infoSize < 40)
        return false;
    return !withinCaps(qAbs(qint64(s32(h, 18))), qAbs(qint64(s32(h, 22)))); // negative: top-down rows
}

QImage loadBitmap(QFile& file, QString* error)
{
    if (bitmapHeaderTooLarge(file)) {
        *error = PictureLoader::tooLarge(PictureLoader::bitmapInvalid());
        return {};
    }
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead()) {
        *error = PictureLoader::bitmapInvalid();
        return {};
    }
    const QSize declared = reader.size();
    if (declared.isValid() && !withinCaps(declared.width(), declared.height())) {
        *error = PictureLoader::tooLarge(PictureLoader::bitmapInvalid());
        return {};
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        *error = PictureLoader::bitmapInvalid();
        return {};
    }
    if (!withinCaps(image.width(), image.height())) {
        *error = PictureLoader::tooLarge(PictureLoader::bitmapInvalid());
        return {};
    }
    return image;
}

// Of the images an icon file holds, the largest is shown.
QImage loadIcon(QFile& file, QString* error)
{
    QImageReader reader(&file, "ico");
    reader.setAutoDetectImageFormat(false);
    // The icon reader answers imageCount() only once it has looked at the file.
    if (!reader.canRead()) {
        *error = PictureLoader::iconInvalid();
        return {};
    }
    const int count = std::min(reader.imageCount(), PictureLoader::MaxIconImages);
    QImage best;
    bool oversized = false;
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QSize declared = reader.size();
        if (declared.isValid() && !withinCaps(declared.width(), declared.height())) {
            oversized = true;
            continue;
        }
        const QImage image = reader.read();
        if (image.isNull())
            continue;
        if (!withinCaps(image.width(), image.height())) {
            oversized = true;
            continue;
        }
        if (best.isNull() || qint64(image.width()) * image.height() > qint64(best.width()) * best.height())
            best = image;
    }
    if (best.isNull())
        *error =
            oversized ? PictureLoader::tooLarge(PictureLoader::iconInvalid()) : PictureLoader::iconInvalid();
    return best;
}

} // namespace

QString PictureLoader::unknownExtension(const QString& extension)
{
    return QStringLiteral("Unknown picture file extension (.%1)").arg(extension);
}

QString PictureLoader::cannotOpen(const QString& fileName)
{
    return QStringLiteral("Cannot open file %1").arg(fileName);
}

QString PictureLoader::bitmapInvalid()
{
    return QStringLiteral("Bitmap image is not valid");
}

QString PictureLoader::iconInvalid()
{
    return QStringLiteral("Icon image is not valid");
}

QString PictureLoader::metafileInvalid()
{
    return QStringLiteral("Metafile is not valid");
}

QString PictureLoader::tooLarge(const QString& invalidText)
{
    return QStringLiteral("%1: the picture is too large to show (at most %2 pixels a side and %3 million "
                          "pixels in all).")
        .arg(invalidText)
        .arg(MaxSide)
        .arg(MaxPixels / 1'000'000);
}

QString PictureLoader::fileTooLarge(const QString& invalidText)
{
    return QStringLiteral("%1: the file is larger than %2 MB.").arg(invalidText).arg(MaxMetafileBytes >> 20);
}

QString PictureLoader::tooComplex(const QString& invalidText)
{
    return QStringLiteral("%1: the picture is too complex to show.").arg(invalidText);
}

QSize PictureLoader::metafileSize(const QByteArray& data, bool* enhanced, QString* error)
{
    *enhanced = isEnhanced(data);
    const QSize size = *enhanced ? emfSize(data) : wmfSize(data);
    if (size.isEmpty()) {
        *error = metafileInvalid();
        return {};
    }
    if (!withinCaps(size.width(), size.height())) {
        *error = tooLarge(metafileInvalid());
        return {};
    }
    return size;
}

bool PictureLoader::insideProgramFolder(const QString& fileName)
{
    // Both sides with every link resolved, so neither "../x.bmp", an
    // absolute name nor a link that points out of the folder gets through.
    const QString folder = QDir::current().canonicalPath();
    const QString target = QFileInfo(QDir::current(), fileName).canonicalFilePath();
    if (folder.isEmpty() || target.isEmpty())
        return false;
    return target.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

QImage PictureLoader::loadExhibit(const QString& fileName, QString* error)
{
    // The extension is judged first, as for any picture; a name that leads
    // out of the folder then reads as a file that is not there.
    const QString kind = QFileInfo(fileName).suffix().toLower();
    const bool known = kind == QLatin1String("bmp") || kind == QLatin1String("ico") ||
                       kind == QLatin1String("wmf") || kind == QLatin1String("emf");
    if (known && !fileName.isEmpty() && !insideProgramFolder(fileName)) {
        *error = cannotOpen(fileName);
        return {};
    }
    return load(fileName, error);
}

QImage PictureLoader::load(const QString& fileName, QString* error)
{
    const QString extension = QFileInfo(fileName).suffix();
    const QString kind = extension.toLower();
    if (kind != QLatin1String("bmp") && kind != QLatin1String("ico") && kind != QLatin1String("wmf") &&
        kind != QLatin1String("emf")) {
        *error = unknownExtension(extension);
        return {};
    }
    // A named pipe or a device would block the window or never end: only a
    // regular file is opened.
    QFile file;
    QString reason;
    if (fileName.isEmpty() || !openRegularFile(&file, fileName, &reason)) {
        *error = cannotOpen(fileName);
        return {};
    }
    if (kind == QLatin1String("bmp"))
        return loadBitmap(file, error);
    if (kind == QLatin1String("ico"))
        return loadIcon(file, error);
    return loadMetafile(file, error);
}
