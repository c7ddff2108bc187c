#include "ExhibitRenderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QTest>

namespace {
const QString Body = QStringLiteral("network:\n  version: 2\n  renderer: networkd\n");

QString withTitle(const QString& title)
{
    return QStringLiteral("@title %1\n@style paper\n").arg(title) + Body;
}

int titleAdvance(const QString& title)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(13);
    f.setBold(true);
    return QFontMetrics(f).horizontalAdvance(title);
}
} // namespace

class TestExhibitRenderer : public QObject
{
    Q_OBJECT
private slots:
    void shortSource_keepsTheNarrowestPicture()
    {
        QString error;
        const QImage image = ExhibitRenderer::render(withTitle(QStringLiteral("netplan")), &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.width(), 320);
        QVERIFY(ExhibitRenderer::clippedTexts(withTitle(QStringLiteral("netplan")), &error).isEmpty());
    }

    void titleWiderThanTheText_widensThePicture()
    {
        // The heading that used to lose "22.04)" over a narrow file.
        const QString title = QStringLiteral("/etc/netplan/01-static.yaml on web12 (Ubuntu 22.04)");
        QString error;
        const QImage image = ExhibitRenderer::render(withTitle(title), &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QVERIFY2(image.width() >= titleAdvance(title) + 24, qPrintable(QString::number(image.width())));
        QVERIFY(ExhibitRenderer::clippedTexts(withTitle(title), &error).isEmpty());
        QVERIFY(error.isEmpty());
    }

    void titleWiderThanAFullExhibit_wrapsOverMoreLines()
    {
        QStringList words;
        for (int i = 0; i < 40; ++i)
            words << QStringLiteral("heading%1").arg(i);
        const QString title = words.join(QLatin1Char(' '));
        QString error;
        const QImage oneLine = ExhibitRenderer::render(withTitle(QStringLiteral("short")), &error);
        const QImage wrapped = ExhibitRenderer::render(withTitle(title), &error);
        QVERIFY2(!wrapped.isNull(), qPrintable(error));
        QVERIFY(wrapped.height() > oneLine.height());
        QVERIFY(wrapped.width() < titleAdvance(title));
        const QStringList clipped = ExhibitRenderer::clippedTexts(withTitle(title), &error);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
    }

    void textThatCannotFit_isReportedAsClipped()
    {
        QString error;
        const QString word = QStringLiteral("x").repeated(150);
        const QStringList clipped =
            ExhibitRenderer::clippedTexts(withTitle(QStringLiteral("a ") + word), &error);
        QVERIFY(error.isEmpty());
        QCOMPARE(clipped.size(), 1);
        QVERIFY2(clipped.first().startsWith(QStringLiteral("title \"") + word), qPrintable(clipped.first()));
    }

    void lineOfWideCharacters_isReportedAsClipped()
    {
        // Within 100 columns, yet wider than 100 cells of the fixed-pitch
        // font: characters that font lacks (the telephone sign) come from a
        // wider fallback such as DejaVu Sans.
        QFont mono(QStringLiteral("DejaVu Sans Mono"));
        mono.setPixelSize(13);
        mono.setStyleHint(QFont::Monospace);
        const QFontMetrics fm(mono);
        QString wide;
        for (const char16_t c : {u'\u2121', u'\u2180', u'\uFF37'}) {
            const QString line = QString(QChar(c)).repeated(100);
            if (fm.horizontalAdvance(line) > 100 * fm.horizontalAdvance(QLatin1Char('M'))) {
                wide = line;
                break;
            }
        }
        if (wide.isEmpty())
            QSKIP("no installed font draws any of the test characters wider than a cell");
        QString error;
        const QStringList lines =
            ExhibitRenderer::clippedTexts(QStringLiteral("@style console\nok\n") + wide + "\n", &error);
        QVERIFY(error.isEmpty());
        QCOMPARE(lines, QStringList(QStringLiteral("line 2 \"%1\"").arg(wide)));
    }

    void sourceThatCannotBeDrawn_isRefusedWithItsReason_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("message");
        QTest::newRow("directive") << QStringLiteral("@colour red\ntext\n")
                                   << QStringLiteral("unknown directive \"@colour red\"");
        QTest::newRow("empty") << QStringLiteral("@title t\n\n\n") << QStringLiteral("no text to draw");
        QTest::newRow("too wide") << QString(QStringLiteral("y").repeated(101) + "\n")
                                  << QStringLiteral("101 columns and 1 lines");
    }
    void sourceThatCannotBeDrawn_isRefusedWithItsReason()
    {
        QFETCH(QString, source);
        QFETCH(QString, message);
        QString error;
        QVERIFY(ExhibitRenderer::render(source, &error).isNull());
        QVERIFY2(error.contains(message), qPrintable(error));
        error.clear();
        QVERIFY(ExhibitRenderer::clippedTexts(source, &error).isEmpty());
        QVERIFY2(error.contains(message), qPrintable(error));
    }
};

QTEST_MAIN(TestExhibitRenderer)
#include "test_exhibitrenderer.moc"
