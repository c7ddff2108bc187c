// The inputs the fuzz targets found trouble with, through the real loaders:
// each gives the loader's error text, soon, and the program goes on.
#include "exam/PictureLoader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

class TestFuzzFindings : public QObject
{
    Q_OBJECT
private slots:
    void picture_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        const QDir dir(QStringLiteral(FUZZ_FINDINGS));
        // Under the address checks libemf2svg faults on these in the converting
        // child; without them it may draw something. Either is fine: a
        // picture or the error text, never a crash of the program.
        for (const QString& name : dir.entryList({QStringLiteral("emf2svg-crash-*")}, QDir::Files))
            QTest::newRow(qPrintable(name)) << dir.filePath(name) << PictureLoader::metafileInvalid();
        // libwmf asks for gigabytes on these; the child's memory is capped.
        for (const QString& name : dir.entryList({QStringLiteral("libwmf-memory-*")}, QDir::Files))
            QTest::newRow(qPrintable(name)) << dir.filePath(name) << PictureLoader::metafileInvalid();
    }
    void picture()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        QElapsedTimer clock;
        clock.start();
        QString error;
        const QImage image = PictureLoader::load(file, &error);
        if (image.isNull())
            QCOMPARE(error, expected);
        else
            QVERIFY(error.isEmpty());
        QVERIFY2(clock.elapsed() < PictureLoader::ConvertTimeoutMs, "the conversion ran into its time limit");
    }
};

QTEST_MAIN(TestFuzzFindings)
#include "test_fuzzfindings.moc"
