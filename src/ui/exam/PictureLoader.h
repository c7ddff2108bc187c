#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Loads an exhibit picture by the extension of its name, in any letter case:
// ".bmp" and ".ico" through Qt's image readers, ".wmf" and ".emf" through the
// metafile converters to SVG, drawn at the metafile's own size. Whatever the
// file holds, the result is a picture or one of the program's error texts;
// sizes are capped so that a huge or hostile file cannot exhaust the program.
class PictureLoader
{
public:
    static constexpr int MaxSide = 8192;            // pixels a side
    static constexpr qint64 MaxPixels = 32'000'000; // pixels in all
    static constexpr qint64 MaxMetafileBytes = 32LL << 20;
    static constexpr qint64 MaxSvgBytes = 16LL << 20; // the converted metafile's text
    static constexpr int ConvertTimeoutMs = 10000;
    static constexpr int MaxIconImages = 64; // icon images looked at
    static constexpr int MetafileDpi = 96;   // screen pixels per inch

    // The picture, or a null image and the error text in *error.
    static QImage load(const QString& fileName, QString* error);
    // An item's exhibit: as load, with the name taken relative to the program
    // folder (the current folder); a name that leads out of it is refused
    // like a missing file.
    static QImage loadExhibit(const QString& fileName, QString* error);

    // True when the file exists and, all links resolved, lies inside the
    // current folder or below it.
    static bool insideProgramFolder(const QString& fileName);

    // The size a metafile is shown at, from its header (the placeable header
    // of a .wmf, the frame of an enhanced one); the file's kind is decided by
    // its contents. An invalid size and the error text when the header or
    // the record structure is broken or the size is beyond the caps.
    static QSize metafileSize(const QByteArray& data, bool* enhanced, QString* error);

    // The texts of the errors.
    static QString unknownExtension(const QString& extension);
    static QString cannotOpen(const QString& fileName);
    static QString bitmapInvalid();
    static QString iconInvalid();
    static QString metafileInvalid();
    static QString tooLarge(const QString& invalidText);     // beyond MaxSide or MaxPixels
    static QString fileTooLarge(const QString& invalidText); // beyond MaxMetafileBytes
    static QString tooComplex(const QString& invalidText);   // too much SVG, or too slow
};
