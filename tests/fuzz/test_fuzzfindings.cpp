// The inputs the fuzz targets found trouble with, through the real loaders:
// each gives the loader's error text, soon, and the program goes on.
#include "core/settings/SettingsStore.h"
#include "ui/exam/PictureLoader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
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

    // A quoted value lost its quotes on the next start: reading takes one
    // pair off, and they were written back bare.
    void settings_quotedValues_readBackAsTheyWere()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.ini"));
        QFile file(first);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Options]\nQFontName=\"\"Quoted Sans\"\"\nCalcPath=\"\"/opt/calc\"\"\nAFontName=\"\n");
        file.close();
        SettingsStore::Values loaded;
        SettingsStore(first).load(loaded, QString());
        QCOMPARE(loaded.question.name, QStringLiteral("\"Quoted Sans\""));
        QCOMPARE(loaded.options.CalcPath, QStringLiteral("\"/opt/calc\""));
        QCOMPARE(loaded.answers.name, QStringLiteral("\""));

        const QString saved = dir.filePath(QStringLiteral("saved.ini"));
        QString error;
        QVERIFY(SettingsStore(saved).save(loaded, &error));
        // Read from the disk under another name, as the next start does (one
        // process shares what it wrote of a file).
        const QString next = dir.filePath(QStringLiteral("next.ini"));
        QVERIFY(QFile::copy(saved, next));
        SettingsStore::Values reloaded;
        SettingsStore(next).load(reloaded, QString());
        QCOMPARE(reloaded.question.name, loaded.question.name);
        QCOMPARE(reloaded.options.CalcPath, loaded.options.CalcPath);
        QCOMPARE(reloaded.answers.name, loaded.answers.name);
    }
};

QTEST_MAIN(TestFuzzFindings)
#include "test_fuzzfindings.moc"
