// Exhibit pictures: each kind loaded at its size, every error text, the caps
// on hostile files, and the two exhibit windows opened from an item.
#include "TestEnv.h"
#include "core/exam/Clock.h"
#include "core/exam/TKZTimeCounter.h"
#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "ui/exam/MetafileToSvg.h"
#include "ui/exam/PictureLoader.h"
#include "ui/exam/TPict1Form.h"
#include "ui/exam/TPict2Form.h"
#include "ui/exam/TTestForm.h"
#include "ui/exam/TddgRunButton.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedLabel.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QtEndian>
#include <QtTest>
#include <cstdlib>
#include <sys/stat.h>

namespace {

void put16(QByteArray& b, int v)
{
    char c[2];
    qToLittleEndian<quint16>(quint16(v), c);
    b.append(c, 2);
}

void put32(QByteArray& b, qint64 v)
{
    char c[4];
    qToLittleEndian<quint32>(quint32(v), c);
    b.append(c, 4);
}

// A 16-bit metafile with the placeable header, written record by record.
class Wmf
{
public:
    Wmf(int width, int height, int inch) : m_width(width), m_height(height), m_inch(inch)
    {
        record(0x020B, {0, 0});          // SETWINDOWORG y, x
        record(0x020C, {height, width}); // SETWINDOWEXT y, x
    }
    void record(int function, const QList<int>& params)
    {
        put32(m_records, 3 + params.size());
        put16(m_records, function);
        for (int p : params)
            put16(m_records, p);
    }
    void brush(QRgb rgb) // CREATEBRUSHINDIRECT, then SELECTOBJECT
    {
        put32(m_records, 7);
        put16(m_records, 0x02FC);
        put16(m_records, 0); // solid
        put32(m_records, qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16);
        put16(m_records, 0);
        record(0x012D, {m_objects++});
    }
    void font(int height, const QByteArray& face) // CREATEFONTINDIRECT, then SELECTOBJECT
    {
        QByteArray f;
        put16(f, height);
        put16(f, 0);
        put16(f, 0);
        put16(f, 0);
        put16(f, 400);
        f.append(8, '\0');
        f.append(face);
        f.append('\0');
        if (f.size() % 2)
            f.append('\0');
        put32(m_records, 3 + f.size() / 2);
        put16(m_records, 0x02FB);
        m_records.append(f);
        record(0x012D, {m_objects++});
    }
    void rectangle(int l, int t, int r, int b) { record(0x041B, {b, r, t, l}); }
    void ellipse(int l, int t, int r, int b) { record(0x0418, {b, r, t, l}); }
    void line(int x1, int y1, int x2, int y2)
    {
        record(0x0214, {y1, x1});
        record(0x0213, {y2, x2});
    }
    void text(int x, int y, const QByteArray& s)
    {
        QByteArray padded = s;
        if (padded.size() % 2)
            padded.append('\0');
        put32(m_records, 3 + 1 + padded.size() / 2 + 2);
        put16(m_records, 0x0521);
        put16(m_records, s.size());
        m_records.append(padded);
        put16(m_records, y);
        put16(m_records, x);
    }
    QByteArray bytes(bool placeable = true, bool goodChecksum = true, bool withEof = true) const
    {
        QByteArray records = m_records;
        if (withEof) {
            put32(records, 3);
            put16(records, 0);
        }
        QByteArray header;
        put16(header, 1);
        put16(header, 9);
        put16(header, 0x0300);
        put32(header, (18 + records.size()) / 2);
        put16(header, m_objects);
        put32(header, 16);
        put16(header, 0);
        QByteArray out;
        if (placeable) {
            put32(out, 0x9AC6CDD7);
            put16(out, 0);
            put16(out, 0);
            put16(out, 0);
            put16(out, m_width);
            put16(out, m_height);
            put16(out, m_inch);
            put32(out, 0);
            quint16 sum = 0;
            for (int i = 0; i < 10; ++i)
                sum ^= qFromLittleEndian<quint16>(out.constData() + 2 * i);
            put16(out, goodChecksum ? sum : sum ^ 1);
        }
        return out + header + records;
    }

private:
    int m_width, m_height, m_inch;
    int m_objects = 0;
    QByteArray m_records;
};

// An enhanced metafile: header, a brush, one rectangle, the end record.
QByteArray emf(int frameWidth, int frameHeight, QRgb rgb, bool withEof = true)
{
    const int pxW = frameWidth * 96 / 2540, pxH = frameHeight * 96 / 2540;
    QByteArray records;
    put32(records, 39); // CREATEBRUSHINDIRECT
    put32(records, 24);
    put32(records, 1);
    put32(records, 0);
    put32(records, qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16);
    put32(records, 0);
    put32(records, 37); // SELECTOBJECT
    put32(records, 12);
    put32(records, 1);
    put32(records, 43); // RECTANGLE
    put32(records, 24);
    for (int v : {pxW / 8, pxH / 8, pxW - pxW / 8, pxH - pxH / 8})
        put32(records, v);
    if (withEof) {
        put32(records, 14);
        put32(records, 20);
        put32(records, 0);
        put32(records, 16);
        put32(records, 20);
    }
    QByteArray h;
    put32(h, 1);
    put32(h, 108);
    for (int v : {0, 0, pxW - 1, pxH - 1})
        put32(h, v);
    for (int v : {0, 0, frameWidth, frameHeight})
        put32(h, v);
    put32(h, 0x464D4520);
    put32(h, 0x10000);
    put32(h, 108 + records.size());
    put32(h, withEof ? 4 : 3);
    put16(h, 2);
    put16(h, 0);
    put32(h, 0);
    put32(h, 0);
    put32(h, 0);
    put32(h, 1024);
    put32(h, 768);
    put32(h, 270);
    put32(h, 203);
    put32(h, 0);
    put32(h, 0);
    put32(h, 0);
    put32(h, 270000);
    put32(h, 203000);
    return h + records;
}

// A 16-bit metafile 2 inches by 1 inch (192 x 96 pixels), filled red.
QByteArray redWmf()
{
    Wmf w(2880, 1440, 1440);
    w.brush(qRgb(255, 0, 0));
    w.rectangle(0, 0, 2880, 1440);
    return w.bytes();
}

QByteArray bitmapHeader(qint32 width, qint32 height)
{
    QByteArray b("BM");
    put32(b, 54 + 16);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, width);
    put32(b, height);
    put16(b, 1);
    put16(b, 24);
    for (int i = 0; i < 6; ++i)
        put32(b, 0);
    b.append(16, '\x7f');
    return b;
}

QByteArray png(const QImage& image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

// An icon file holding the given images as PNG entries.
QByteArray icon(const QList<QImage>& images)
{
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, images.size());
    QList<QByteArray> data;
    for (const QImage& i : images)
        data << png(i);
    qint64 offset = 6 + 16 * images.size();
    for (int k = 0; k < images.size(); ++k) {
        out.append(char(images[k].width() % 256));
        out.append(char(images[k].height() % 256));
        out.append('\0');
        out.append('\0');
        put16(out, 1);
        put16(out, 32);
        put32(out, data[k].size());
        put32(out, offset);
        offset += data[k].size();
    }
    for (const QByteArray& d : data)
        out += d;
    return out;
}

QImage filled(int w, int h, QColor c)
{
    QImage i(w, h, QImage::Format_ARGB32);
    i.fill(c);
    return i;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QImage load(const QString& path, QString* error)
{
    error->clear();
    return PictureLoader::load(path, error);
}

} // namespace

class TestExhibits : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        Clock::setSource({});
        Dialogs::setModalHandler({});
    }
    void load_eachKind_atItsSize_data();
    void load_eachKind_atItsSize();
    void load_iconShowsLargestImage();
    void load_errors_data();
    void load_errors();
    void load_namesOutsideTheProgramFolder_areRefused();
    void load_pipeOrFolder_isRefusedAtOnce();
    void converter_limitsEndTheChild();
    void windows_sizedToPicture_andReused();
    void windows_pictureLargerThanScreen_scrolls();
    void windows_errorOpensNoWindow();
    void windows_exhibitLinkedOutside_isRefused();
    void windows_leaveItemAnswersAndClock();
    void windows_altKeysOpenExhibits();
};

void TestExhibits::load_eachKind_atItsSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QColor>("centre");

    QImage bmp = filled(64, 48, QColor(0, 0, 255));
    QByteArray bmpBytes;
    {
        QBuffer b(&bmpBytes);
        b.open(QIODevice::WriteOnly);
        bmp.save(&b, "BMP");
    }
    QByteArray icoBytes;
    {
        QBuffer b(&icoBytes);
        b.open(QIODevice::WriteOnly);
        filled(32, 32, QColor(0, 128, 0)).save(&b, "ICO");
    }
    QTest::newRow("bitmap") << "p.bmp" << bmpBytes << QSize(64, 48) << QColor(0, 0, 255);
    QTest::newRow("bitmap upper case") << "P.BMP" << bmpBytes << QSize(64, 48) << QColor(0, 0, 255);
    QTest::newRow("icon") << "p.ico" << icoBytes << QSize(32, 32) << QColor(0, 128, 0);
    QTest::newRow("icon mixed case") << "p.IcO" << icoBytes << QSize(32, 32) << QColor(0, 128, 0);
    QTest::newRow("metafile") << "p.wmf" << redWmf() << QSize(192, 96) << QColor(255, 0, 0);
    QTest::newRow("metafile upper case") << "p.WMF" << redWmf() << QSize(192, 96) << QColor(255, 0, 0);
    QTest::newRow("metafile, 1000 units an inch") << "p.wmf" << [] {
        Wmf w(500, 250, 1000);
        w.brush(qRgb(255, 0, 0));
        w.rectangle(0, 0, 500, 250);
        return w.bytes();
    }() << QSize(48, 24) << QColor(255, 0, 0);
    QTest::newRow("enhanced metafile")
        << "p.emf" << emf(5080, 2540, qRgb(0, 255, 0)) << QSize(192, 96) << QColor(0, 255, 0);
    QTest::newRow("enhanced metafile mixed case")
        << "p.Emf" << emf(2540, 2540, qRgb(0, 255, 0)) << QSize(96, 96) << QColor(0, 255, 0);
    // The contents decide between the two metafile kinds, as they always did.
    QTest::newRow("enhanced contents named .wmf")
        << "p.wmf" << emf(2540, 1270, qRgb(0, 255, 0)) << QSize(96, 48) << QColor(0, 255, 0);
}

void TestExhibits::load_eachKind_atItsSize()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    QFETCH(QColor, centre);
    QTemporaryDir dir;
    writeFile(dir.filePath(name), bytes);
    QString error;
    const QImage image = load(dir.filePath(name), &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), size);
    QCOMPARE(image.pixelColor(size.width() / 2, size.height() / 2).rgb(), centre.rgb());
}

void TestExhibits::load_iconShowsLargestImage()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("two.ico"), icon({filled(16, 16, Qt::blue), filled(48, 48, Qt::red)}));
    QString error;
    const QImage image = load(dir.filePath("two.ico"), &error);
    QVERIFY2(!image.isNull(), qPrintable(error));
    QCOMPARE(image.size(), QSize(48, 48));
    QCOMPARE(image.pixelColor(24, 24), QColor(Qt::red));
}

void TestExhibits::load_errors_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // empty: no file is written
    QTest::addColumn<QString>("message");  // %1: the name as given

    const QString bitmap = PictureLoader::bitmapInvalid();
    const QString iconText = PictureLoader::iconInvalid();
    const QString meta = PictureLoader::metafileInvalid();
    QCOMPARE(bitmap, QString("Bitmap image is not valid"));
    QCOMPARE(iconText, QString("Icon image is not valid"));
    QCOMPARE(meta, QString("Metafile is not valid"));

    QTest::newRow("gif") << "p.gif" << QByteArray("GIF89a") << "Unknown picture file extension (.gif)";
    QTest::newRow("extension case kept")
        << "p.Png" << QByteArray("x") << "Unknown picture file extension (.Png)";
    QTest::newRow("no extension") << "picture" << QByteArray("x") << "Unknown picture file extension (.)";
    QTest::newRow("unknown and missing")
        << "missing.jpg" << QByteArray() << "Unknown picture file extension (.jpg)";
    QTest::newRow("missing bitmap") << "missing.bmp" << QByteArray() << "Cannot open file %1";
    QTest::newRow("missing metafile") << "missing.emf" << QByteArray() << "Cannot open file %1";
    QTest::newRow("junk bitmap") << "j.bmp" << QByteArray("not a bitmap at all") << bitmap;
    QTest::newRow("empty bitmap") << "e.bmp" << QByteArray("") << bitmap;
    QTest::newRow("png named .bmp") << "p.bmp" << png(filled(4, 4, Qt::red)) << bitmap;
    QTest::newRow("huge bitmap") << "h.bmp" << bitmapHeader(100000, 100000)
                                 << PictureLoader::tooLarge(bitmap);
    QTest::newRow("bitmap too wide") << "w.bmp" << bitmapHeader(9000, 10) << PictureLoader::tooLarge(bitmap);
    QTest::newRow("bitmap too many pixels")
        << "m.bmp" << bitmapHeader(6000, -6000) << PictureLoader::tooLarge(bitmap);
    QTest::newRow("junk icon") << "j.ico" << QByteArray("\0\0\1\0junk", 8) << iconText;
    QTest::newRow("bitmap named .ico") << "b.ico" << bitmapHeader(2, 2) << iconText;
    QTest::newRow("junk metafile") << "j.wmf" << QByteArray(300, 'x') << meta;
    QTest::newRow("junk enhanced metafile") << "j.emf" << QByteArray(300, '\1') << meta;
    QTest::newRow("no placeable header") << "n.wmf" << redWmf().mid(22) << meta;
    QTest::newRow("bad checksum") << "c.wmf" << [] {
        Wmf w(100, 100, 1440);
        return w.bytes(true, false);
    }() << meta;
    QTest::newRow("record past the end") << "r.wmf" << redWmf().chopped(4) << meta;
    QTest::newRow("zero inch") << "z.wmf" << [] {
        Wmf w(100, 100, 0);
        return w.bytes();
    }() << meta;
    QTest::newRow("empty picture") << "0.wmf" << [] {
        Wmf w(0, 0, 1440);
        return w.bytes();
    }() << meta;
    QTest::newRow("huge metafile picture") << "h.wmf" << [] {
        Wmf w(30000, 30000, 1);
        return w.bytes();
    }() << PictureLoader::tooLarge(meta);
    QTest::newRow("truncated enhanced") << "t.emf" << emf(2540, 2540, qRgb(0, 0, 0)).left(100) << meta;
    QTest::newRow("enhanced record past the end")
        << "t.emf" << emf(2540, 2540, qRgb(0, 0, 0)).chopped(8) << meta;
    QTest::newRow("enhanced without frame") << "f.emf" << emf(0, 0, qRgb(0, 0, 0)) << meta;
    QTest::newRow("huge enhanced picture")
        << "h.emf" << emf(2000000, 2000000, qRgb(0, 0, 0)) << PictureLoader::tooLarge(meta);
}

void TestExhibits::load_errors()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TestEnv env; // the program folder is the current folder: names stay relative
    if (!bytes.isNull())
        writeFile(env.path(name), bytes);
    QString error;
    QVERIFY(load(name, &error).isNull());
    QCOMPARE(error, message.contains("%1") ? message.arg(name) : message);
}

void TestExhibits::load_namesOutsideTheProgramFolder_areRefused()
{
    TestEnv env;
    QTemporaryDir outside;
    QByteArray bmpBytes;
    {
        QBuffer b(&bmpBytes);
        b.open(QIODevice::WriteOnly);
        filled(8, 8, Qt::blue).save(&b, "BMP");
    }
    writeFile(outside.filePath("outside.bmp"), bmpBytes);
    writeFile(env.path("inside.bmp"), bmpBytes);
    QDir(env.dir()).mkpath("sub");
    QVERIFY(QFile::link(outside.filePath("outside.bmp"), env.path("link.bmp")));
    QVERIFY(QFile::link(env.path("inside.bmp"), env.path("sub/inner.bmp")));
    const QString upAndOut = QDir(env.dir()).relativeFilePath(outside.filePath("outside.bmp"));
    QVERIFY(upAndOut.startsWith("../"));

    for (const QString& name : {upAndOut, outside.filePath("outside.bmp"), QStringLiteral("link.bmp"),
                                QStringLiteral("../") + QFileInfo(env.dir()).fileName() + "/../x.bmp"}) {
        QString error;
        QVERIFY2(PictureLoader::loadExhibit(name, &error).isNull(), qPrintable(name));
        QCOMPARE(error, PictureLoader::cannotOpen(name));
    }
    // Inside the folder any spelling of the name serves.
    for (const QString& name : {QStringLiteral("inside.bmp"), env.path("inside.bmp"),
                                QStringLiteral("sub/../inside.bmp"), QStringLiteral("sub/inner.bmp"),
                                QStringLiteral("../") + QFileInfo(env.dir()).fileName() + "/inside.bmp"}) {
        QString error;
        QCOMPARE(PictureLoader::loadExhibit(name, &error).size(), QSize(8, 8));
        QVERIFY(error.isEmpty());
    }
}

// A named pipe named as an exhibit would block the window until something
// writes into it; a folder is no picture either.
void TestExhibits::load_pipeOrFolder_isRefusedAtOnce()
{
    TestEnv env;
    QCOMPARE(::mkfifo(QFile::encodeName(env.path("pipe.bmp")).constData(), 0600), 0);
    QVERIFY(QDir(env.dir()).mkpath("folder.wmf"));
    for (const QString& name : {QStringLiteral("pipe.bmp"), QStringLiteral("folder.wmf")}) {
        QElapsedTimer clock;
        clock.start();
        QString error;
        QVERIFY(PictureLoader::loadExhibit(name, &error).isNull());
        QCOMPARE(error, PictureLoader::cannotOpen(name));
        QVERIFY(clock.elapsed() < 5000);
    }
}

void TestExhibits::converter_limitsEndTheChild()
{
    const QByteArray data = redWmf().mid(0);
    char* svg = nullptr;
    size_t length = 0;
    auto bytes = reinterpret_cast<const unsigned char*>(data.constData());
    QCOMPARE(velarix_metafile_to_svg(VELARIX_WMF, bytes, data.size(), 192, 96, 1 << 20, 10000, &svg, &length),
             int(VELARIX_CONVERT_OK));
    QVERIFY(svg && length > 0);
    QVERIFY(QByteArray(svg, length).contains("<svg"));
    std::free(svg);

    // Output beyond the limit, and no time left: the child is ended.
    QCOMPARE(velarix_metafile_to_svg(VELARIX_WMF, bytes, data.size(), 192, 96, 16, 10000, &svg, &length),
             int(VELARIX_CONVERT_TOO_LARGE));
    QVERIFY(!svg);
    QCOMPARE(velarix_metafile_to_svg(VELARIX_WMF, bytes, data.size(), 192, 96, 1 << 20, 0, &svg, &length),
             int(VELARIX_CONVERT_TIMEOUT));
    QVERIFY(!svg);

    // What the library refuses is reported as such.
    const QByteArray junk(64, '\7');
    QCOMPARE(velarix_metafile_to_svg(VELARIX_EMF, reinterpret_cast<const unsigned char*>(junk.constData()),
                                     junk.size(), 10, 10, 1 << 20, 10000, &svg, &length),
             int(VELARIX_CONVERT_INVALID));

    // A metafile file beyond the size cap is refused unread.
    TestEnv env;
    QFile big(env.path("big.wmf"));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(PictureLoader::MaxMetafileBytes + 1));
    big.close();
    QString error;
    QVERIFY(load("big.wmf", &error).isNull());
    QCOMPARE(error, PictureLoader::fileTooLarge(PictureLoader::metafileInvalid()));
}

namespace {
void gotoItem(TTestForm* f, const QString& question)
{
    f->dtCurrentSet->first();
    while (f->dtCurrentSet->fieldByName(ItemRecord::Q_TEXT).asString() != question && !f->dtCurrentSet->eof())
        f->dtCurrentSet->next();
}

// An exam of exam 1 with two items: "Q1" with both exhibits, "Q2" with a
// smaller first exhibit only. Returns the window on "Q1".
TTestForm* startExhibitExam(TestEnv& env)
{
    QImage big(200, 120, QImage::Format_RGB32);
    big.fill(Qt::darkCyan);
    big.save(env.path("big.bmp"));
    QImage small(60, 40, QImage::Format_RGB32);
    small.fill(Qt::yellow);
    small.save(env.path("small.bmp"));
    writeFile(env.path("pic.wmf"), redWmf());

    QList<TestItem> bank;
    TestItem a = TestEnv::item(1, 1, QStringLiteral("Q1"), QStringLiteral("b"));
    a.pict1 = "big.bmp";
    a.pict2 = "pic.wmf";
    TestItem b = TestEnv::item(1, 2, QStringLiteral("Q2"), QStringLiteral("a"));
    b.pict1 = "small.bmp";
    bank << a << b;
    env.writeBank(bank);
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    Driver::startExam(f, "Action1");
    gotoItem(f, QStringLiteral("Q1"));
    return f;
}

struct Opened
{
    QDialog* dialog = nullptr;
    QString title;
    QSize inner;
    bool fixed = false;
};

// Records the exhibit window the next modal opening shows.
void recordOpening(Opened* opened, const std::function<void()>& during = {})
{
    Dialogs::setModalHandler([opened, during](QDialog* d) {
        d->show();
        opened->dialog = d;
        opened->title = d->windowTitle();
        opened->inner = d->size();
        opened->fixed = d->minimumSize() == d->maximumSize();
        if (during)
            during();
        d->hide();
        return int(QDialog::Accepted);
    });
}
} // namespace

void TestExhibits::windows_sizedToPicture_andReused()
{
    TestEnv env;
    TTestForm* f = startExhibitExam(env);
    QVERIFY(Driver::find<QPushButton>(f, "ExhBtnA")->isVisibleTo(Driver::find<QWidget>(f, "ItemArea")));

    Opened one;
    recordOpening(&one);
    Driver::press(f, "ExhBtnA");
    QCOMPARE(one.dialog, static_cast<QDialog*>(Driver::window<TPict1Form>()));
    QCOMPARE(one.title, QString("Exhibit 1"));
    QCOMPARE(one.inner, QSize(200, 120));
    QVERIFY(one.fixed);
    QCOMPARE(Driver::find<QLabel>(Driver::window<TPict1Form>(), "Image1")->pos(), QPoint(0, 0));

    Opened two;
    recordOpening(&two);
    Driver::press(f, "ExhBtnB");
    QCOMPARE(two.dialog, static_cast<QDialog*>(Driver::window<TPict2Form>()));
    QCOMPARE(two.title, QString("Exhibit 2"));
    QCOMPARE(two.inner, QSize(192, 96));
    QVERIFY(!two.fixed);

    // The next item's smaller picture shrinks the same window.
    gotoItem(f, QStringLiteral("Q2"));
    Opened again;
    recordOpening(&again);
    Driver::press(f, "ExhBtnA");
    QCOMPARE(again.dialog, static_cast<QDialog*>(Driver::window<TPict1Form>()));
    QCOMPARE(again.inner, QSize(60, 40));

    // A resized "Exhibit 2" is sized to its picture again at the next opening.
    gotoItem(f, QStringLiteral("Q1"));
    Driver::window<TPict2Form>()->resize(500, 400);
    recordOpening(&again);
    Driver::press(f, "ExhBtnB");
    QCOMPARE(again.inner, QSize(192, 96));
}

void TestExhibits::windows_pictureLargerThanScreen_scrolls()
{
    TestEnv env;
    TTestForm* f = env.createForms();
    TPict1Form exhibit(f); // as the exam window makes it
    const QRect area = exhibit.screen()->availableGeometry();
    const QSize room = area.size() - QSize(16, 48);
    QImage huge(room.width() + 300, 100, QImage::Format_RGB32);
    huge.fill(Qt::gray);
    huge.save(env.path("wide.bmp"));
    exhibit.LoadPicture("wide.bmp");
    QCOMPARE(exhibit.pictureSize(), huge.size());
    const int bar = exhibit.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QCOMPARE(exhibit.size(), QSize(room.width(), 100 + bar));

    // Opened, the window is centred on the screen.
    exhibit.show();
    QVERIFY((exhibit.geometry().center() - area.center()).manhattanLength() <= 2);
    exhibit.hide();
    Q_UNUSED(f);
}

void TestExhibits::windows_errorOpensNoWindow()
{
    TestEnv env;
    TTestForm* f = startExhibitExam(env);
    QFile::remove(env.path("big.bmp"));
    writeFile(env.path("pic.wmf"), "broken");
    bool opened = false;
    Dialogs::setModalHandler([&opened](QDialog*) {
        opened = true;
        return int(QDialog::Accepted);
    });
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Ok);
    Dialogs::queueAnswer(Dialogs::Ok);
    Driver::press(f, "ExhBtnA");
    Driver::press(f, "ExhBtnB");
    QVERIFY(!opened);
    QCOMPARE(Dialogs::shownMessages(),
             QStringList({"Error: Cannot open file big.bmp", "Error: Metafile is not valid"}));
}

void TestExhibits::windows_exhibitLinkedOutside_isRefused()
{
    TestEnv env;
    TTestForm* f = startExhibitExam(env);
    QTemporaryDir outside;
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(outside.filePath("outside.bmp")));
    QFile::remove(env.path("big.bmp"));
    QVERIFY(QFile::link(outside.filePath("outside.bmp"), env.path("big.bmp")));
    bool opened = false;
    Dialogs::setModalHandler([&opened](QDialog*) {
        opened = true;
        return int(QDialog::Accepted);
    });
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Ok);
    Driver::press(f, "ExhBtnA");
    QVERIFY(!opened);
    QCOMPARE(Dialogs::shownMessages(), QStringList({"Error: Cannot open file big.bmp"}));
}

void TestExhibits::windows_leaveItemAnswersAndClock()
{
    double now = 45000.25;
    Clock::setSource([&now] { return now; });
    TestEnv env;
    TTestForm* f = startExhibitExam(env);
    Driver::pickChoice(f, 2);
    const int record = f->dtCurrentSet->recNo();
    now += 1.0 / 1440;
    Driver::tick(f, "Timer1");
    QCOMPARE(Driver::find<ShadedLabel>(f, "TimeLabel")->text(), QString("1:29:00"));

    Opened one;
    recordOpening(&one, [&now, f] {
        // The clock goes on while the exhibit is open.
        now += 30.0 / 86400;
        QVERIFY(Driver::find<TKZTimeCounter>(f, "Timer1")->Enabled());
        Driver::tick(f, "Timer1");
    });
    Driver::press(f, "ExhBtnA");
    QVERIFY(one.dialog);
    QCOMPARE(f->dtCurrentSet->recNo(), record);
    QCOMPARE(f->currentEntry().Choice[1], quint8(1));
    QVERIFY(Driver::find<TKZTimeCounter>(f, "Timer1")->Enabled());
    QCOMPARE(Driver::find<ShadedLabel>(f, "TimeLabel")->text(), QString("1:28:30"));
    QCOMPARE(f->examMode, ExamMode::Testing);
}

void TestExhibits::windows_altKeysOpenExhibits()
{
    TestEnv env;
    TTestForm* f = startExhibitExam(env);
    f->show();
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    Opened opened;
    recordOpening(&opened);
    QTest::keyClick(f, Qt::Key_1, Qt::AltModifier);
    QTRY_VERIFY(qobject_cast<TPict1Form*>(opened.dialog));
    opened = {};
    // The offscreen platform leaves the hidden exhibit active; a window
    // manager gives the activation back to the exam window.
    f->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(f));
    QTest::keyClick(f, Qt::Key_2, Qt::AltModifier);
    QTRY_VERIFY(qobject_cast<TPict2Form*>(opened.dialog));
    f->hide();
}

QTEST_MAIN(TestExhibits)
#include "test_exhibits.moc"
