#include "widgets/ItemText.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>

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
