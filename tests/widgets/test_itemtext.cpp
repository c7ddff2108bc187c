#include "ui/widgets/ItemText.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QTextFrame>

// The label the item texts used to be: its numbers are the ones to keep.
static std::unique_ptr<QLabel> referenceLabel(const QString& text, const QFont& font)
{
    auto label = std::make_unique<QLabel>();
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setFont(font);
    label->setText(text);
    return label;
}

// A text of many paragraphs and one paragraph of many screens, with what
// breaks lines differently: tabs, other scripts, a word longer than a line
// (and than the pieces a long text is laid out in), every kind of line break.
static QString longText()
{
    const QString words = QStringLiteral("Which command lists the block devices with their mount points? ");
    QString text = words.repeated(700);
    text += QStringLiteral("\r\n") + QStringLiteral("a\tb    c\t\td   ").repeated(300);
    text += QStringLiteral("\r") + QStringLiteral("Ввод и вывод — 入出力 — ").repeated(400);
    text += QChar(QChar::ParagraphSeparator) + QStringLiteral("x").repeated(9000) + QStringLiteral(" tail");
    text += QChar(QChar::LineSeparator) + QStringLiteral("שלום עולם, ").repeated(300);
    text += QStringLiteral("\n\nlast line\n");
    return text;
}

class TestItemText : public QObject
{
    Q_OBJECT
private slots:
    void heights_equalThoseOfASelectableWrappingLabel_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QFont>("font");
        const QFont plain(QStringLiteral("DejaVu Sans"), 10);
        QFont bold(QStringLiteral("Liberation Sans"), 13);
        bold.setBold(true);
        const QFont mono(QStringLiteral("DejaVu Sans Mono"), 9);
        const QString sentence = QStringLiteral(
            "Which command lists the block devices with their mount points, sizes and types? ");
        const QList<std::pair<const char*, QString>> texts = {
            {"empty", QString()},
            {"one word", QStringLiteral("lsblk")},
            {"wrapped", sentence.repeated(12)},
            {"line breaks", QStringLiteral("First line\nsecond line\n\n\nafter blank lines\n")},
            {"long word", QStringLiteral("x").repeated(900) + QStringLiteral(" tail")},
            {"tabs and spaces", QStringLiteral("a\tb    c\t\td   ").repeated(30)},
            {"non-Latin", QStringLiteral("Ввод и вывод — 入出力 — ").repeated(20)},
        };
        for (const auto& [name, text] : texts) {
            for (const auto& [fontName, font] :
                 {std::pair{"plain", plain}, std::pair{"bold", bold}, std::pair{"mono", mono}})
                QTest::addRow("%s, %s", name, fontName) << text << font;
        }
    }
    void heights_equalThoseOfASelectableWrappingLabel()
    {
        QFETCH(QString, text);
        QFETCH(QFont, font);
        const auto label = referenceLabel(text, font);
        ItemText item;
        item.setFont(font);
        item.setText(text);
        for (int width : {0, 1, 37, 120, 350, 662, 689, 1000, 1905}) {
            QCOMPARE(item.heightForWidth(width), label->heightForWidth(width));
            QCOMPARE(item.heightForWidth(width), label->heightForWidth(width)); // from the kept layout
        }
        QCOMPARE(item.text(), text);
    }

    // A font set after the text, and texts shown again after others, measure
    // as fresh ones do.
    void heights_followFontAndText()
    {
        const QString longer = QStringLiteral("Which two are init systems? ").repeated(40);
        ItemText item;
        item.setText(longer);
        const int before = item.heightForWidth(300);
        QFont big = item.font();
        big.setPointSize(big.pointSize() * 2);
        item.setFont(big);
        QCOMPARE(item.heightForWidth(300), referenceLabel(longer, big)->heightForWidth(300));
        QVERIFY(item.heightForWidth(300) > before);
        for (int round = 0; round < 3; ++round) {
            for (const QString& text :
                 {longer, QStringLiteral("short"), longer.left(200), QStringLiteral("x").repeated(5000)}) {
                item.setText(text);
                QCOMPARE(item.heightForWidth(300), referenceLabel(text, big)->heightForWidth(300));
            }
        }
    }

    // An emptied text measures as an emptied label does, one that never
    // had a text as such a label does.
    void emptyText_measuresAsTheLabelDid()
    {
        ItemText item;
        const auto label = referenceLabel(QString(), item.font());
        QCOMPARE(item.heightForWidth(200), label->heightForWidth(200));
        for (const QString& text :
             {QStringLiteral("some words"), QString(), QStringLiteral("more"), QString()}) {
            item.setText(text);
            label->setText(text);
            QCOMPARE(item.heightForWidth(200), label->heightForWidth(200));
        }
    }

    void mouseSelection_copiesWhatWasDragged()
    {
        ItemText item;
        item.setText(QStringLiteral("alpha beta gamma\ndelta"));
        item.resize(400, item.heightForWidth(400));
        item.show();
        QVERIFY(QTest::qWaitForWindowExposed(&item));
        QVERIFY(item.selectedText().isEmpty());
        const int y = item.fontMetrics().height() / 2;
        QTest::mousePress(&item, Qt::LeftButton, {}, QPoint(0, y));
        QMouseEvent move(QEvent::MouseMove,
                         QPointF(item.fontMetrics().horizontalAdvance(QStringLiteral("alpha")), y),
                         item.mapToGlobal(QPointF(0, y)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&item, &move);
        QTest::mouseRelease(&item, Qt::LeftButton, {},
                            QPoint(item.fontMetrics().horizontalAdvance(QStringLiteral("alpha")), y));
        QCOMPARE(item.selectedText(), QStringLiteral("alpha"));
        item.selectAll();
        QCOMPARE(item.selectedText(), QStringLiteral("alpha beta gamma\ndelta"));
        // A new text drops the old selection.
        item.setText(QStringLiteral("other"));
        QVERIFY(item.selectedText().isEmpty());
    }

    // Laid out a piece at a time, a long text still breaks its lines where
    // the label does.
    void longText_measuresAsTheLabel()
    {
        const QString text = longText();
        const QFont font(QStringLiteral("DejaVu Sans"), 10);
        const auto label = referenceLabel(text, font);
        ItemText item;
        item.setFont(font);
        item.setText(text);
        for (int width : {1, 120, 662, 1905})
            QCOMPARE(item.heightForWidth(width), label->heightForWidth(width));
    }

    // Drawn piece by piece, the text looks as the label drew it, pixel for
    // pixel, at the top, across the pieces and at the bottom.
    void longText_drawnAsTheLabelDrewIt()
    {
        const QString text = longText();
        const QFont font(QStringLiteral("DejaVu Sans"), 10);
        const auto label = referenceLabel(text, font);
        ItemText item;
        item.setFont(font);
        item.setText(text);
        const int height = item.heightForWidth(600);
        label->resize(600, height);
        item.resize(600, height);
        QVERIFY(height > 3300);
        QImage blank(600, 400, QImage::Format_ARGB32);
        blank.fill(Qt::white);
        for (int top : {0, 700, 1500, 2900, height - 400}) {
            const QRect band(0, top, 600, 400);
            QImage expected(band.size(), QImage::Format_ARGB32);
            QImage actual(band.size(), QImage::Format_ARGB32);
            expected.fill(Qt::white);
            actual.fill(Qt::white);
            label->render(&expected, QPoint(), QRegion(band), QWidget::DrawChildren);
            item.render(&actual, QPoint(), QRegion(band), QWidget::DrawChildren);
            QVERIFY(expected != blank);
            QVERIFY2(actual == expected, qPrintable(QStringLiteral("band at %1").arg(top)));
        }
    }

    // A selection dragged over many lines, across paragraphs and across the
    // pieces a long paragraph is laid out in, is drawn as the label drew it.
    void selection_drawnAsTheLabelDrewIt_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("top to the last paragraphs") << QPoint(40, 5) << QPoint(60, 4700);
        QTest::newRow("within the long paragraph") << QPoint(100, 1000) << QPoint(200, 2500);
    }
    void selection_drawnAsTheLabelDrewIt()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        const QString text =
            QStringLiteral("Which command lists the block devices with their mount points? ").repeated(200) +
            QStringLiteral("\nalpha beta gamma\n\nzeta eta theta\n").repeated(3);
        const QFont font(QStringLiteral("DejaVu Sans"), 10);
        const auto label = referenceLabel(text, font);
        ItemText item;
        item.setFont(font);
        item.setText(text);
        const int height = item.heightForWidth(300);
        QCOMPARE(height, label->heightForWidth(300));
        QVERIFY(height > to.y());
        for (QWidget* w : {static_cast<QWidget*>(label.get()), static_cast<QWidget*>(&item)}) {
            w->resize(300, height);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            QTest::mousePress(w, Qt::LeftButton, {}, from);
            QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(w, &move);
            QTest::mouseRelease(w, Qt::LeftButton, {}, to);
        }
        QVERIFY(item.selectedText().size() > 3000);
        for (int top = 0; top < height; top += 300) {
            const QRect band(0, top, 300, 300);
            QImage expected(band.size(), QImage::Format_ARGB32);
            QImage actual(band.size(), QImage::Format_ARGB32);
            expected.fill(Qt::white);
            actual.fill(Qt::white);
            label->render(&expected, QPoint(), QRegion(band));
            item.render(&actual, QPoint(), QRegion(band));
            QVERIFY2(actual == expected, qPrintable(QStringLiteral("band at %1").arg(top)));
        }
    }

    // heightUpTo and provisionalHeight give the exact height once they can
    // and lay out no more than they need before that.
    void partialLayout_agreesWithTheFullHeight()
    {
        const QString text = longText();
        ItemText item;
        item.setText(text);
        const int full = referenceLabel(text, item.font())->heightForWidth(500);
        QVERIFY(item.heightUpTo(500, 300) > 300);
        QVERIFY(!item.isSettled(500));
        QCOMPARE(item.heightUpTo(500, full - 1), full); // a lower bound above the limit, here the height
        QCOMPARE(item.heightUpTo(500, full), full);
        QVERIFY(item.isSettled(500));
        QCOMPARE(item.heightUpTo(500, 10), full); // known now

        ItemText fresh;
        fresh.setText(text);
        QSignalSpy settled(&fresh, &ItemText::settled);
        const int estimate = fresh.provisionalHeight(500, 400);
        QVERIFY(estimate > 400);
        QVERIFY(!fresh.isSettled(500));
        QVERIFY(settled.wait(10000));
        QVERIFY(fresh.isSettled(500));
        QCOMPARE(fresh.provisionalHeight(500, 0), full);
        QCOMPARE(fresh.heightForWidth(500), full);
        QCOMPARE(settled.count(), 1);

        // A short text is laid out whole at once and owes no signal.
        ItemText small;
        small.setText(QStringLiteral("lsblk -f"));
        QSignalSpy none(&small, &ItemText::settled);
        QCOMPARE(small.provisionalHeight(500, 400),
                 referenceLabel(QStringLiteral("lsblk -f"), small.font())->heightForWidth(500));
        QTest::qWait(20);
        QCOMPARE(none.count(), 0);
    }

    // Far down a long text the mouse still selects from where it was
    // pressed to the very character the label puts under it.
    void mouseSelection_farDownALongText()
    {
        const QString text =
            QStringLiteral("Which of these holds the root file system, and why? ").repeated(3000);
        ItemText item;
        item.setText(text);
        item.resize(600, 700);
        item.show();
        QVERIFY(QTest::qWaitForWindowExposed(&item));
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(item.font());
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        option.setWrapMode(QTextOption::WordWrap);
        document.setDefaultTextOption(option);
        document.setPlainText(text);
        document.setTextWidth(600);
        for (const QPoint at : {QPoint(123, 655), QPoint(300, 25), QPoint(5, 400)}) {
            // Pressed at the top left (a null point would mean the middle), dragged, then
            // extended by a click with Shift.
            QTest::mousePress(&item, Qt::LeftButton, {}, QPoint(1, 1));
            QTest::mouseRelease(&item, Qt::LeftButton, {}, QPoint(60, 30));
            QTest::mouseClick(&item, Qt::LeftButton, Qt::ShiftModifier, at);
            const int expected = document.documentLayout()->hitTest(at, Qt::FuzzyHit);
            QVERIFY(expected > 0);
            QCOMPARE(item.selectedText(), text.left(expected));
        }
    }

    void copy_givesTheWholeTextWithLineFeeds()
    {
        ItemText item;
        item.setText(QStringLiteral("one\r\ntwo\rthree") + QChar(QChar::ParagraphSeparator) +
                     QStringLiteral("four") + QChar(QChar::LineSeparator) + QStringLiteral("five\n"));
        item.resize(300, 200);
        item.show();
        QVERIFY(QTest::qWaitForWindowExposed(&item));
        item.selectAll();
        item.copy();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("one\ntwo\nthree\nfour\nfive\n"));
        // A double click selects the word under it.
        item.setText(QStringLiteral("alpha beta gamma"));
        const int x = item.fontMetrics().horizontalAdvance(QStringLiteral("alpha be"));
        QTest::mouseDClick(&item, Qt::LeftButton, {}, QPoint(x, item.fontMetrics().height() / 2));
        QCOMPARE(item.selectedText(), QStringLiteral("beta"));
    }

    void screenReaders_readTheText()
    {
        ItemText item;
        item.setText(QStringLiteral("Which file lists the mounts at boot?"));
        item.show();
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&item);
        QVERIFY(face);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Which file lists the mounts at boot?"));
    }
};

QTEST_MAIN(TestItemText)
#include "test_itemtext.moc"
