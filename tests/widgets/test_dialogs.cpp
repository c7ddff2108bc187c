#include "ui/widgets/Dialogs.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void init() { Dialogs::setTestMode(true); }
    void cleanup() { Dialogs::setTestMode(true); }

    void messageText_isShownAsPlainText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("image tag") << QStringLiteral("Cannot open file <img src=\"/etc/passwd.bmp\">.bmp");
        QTest::newRow("bold name") << QStringLiteral("<b>exam</b>.bmp");
        QTest::newRow("entity") << QStringLiteral("a &amp; b &lt;c&gt;");
        QTest::newRow("table data") << QStringLiteral("<html><body><h1>Q</h1></body></html>");
    }
    void messageText_isShownAsPlainText()
    {
        QFETCH(QString, text);
        bool inspected = false;
        Dialogs::setMessageBoxInspector([&](QMessageBox& box) {
            inspected = true;
            QCOMPARE(box.textFormat(), Qt::PlainText);
            QCOMPARE(box.text(), text);
            auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(label);
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(label->text(), text);
            QCOMPARE(box.windowTitle(), QStringLiteral("Error"));
            QCOMPARE(box.icon(), QMessageBox::Critical);
        });
        Dialogs::error(nullptr, text);
        QVERIFY(inspected);
        QCOMPARE(Dialogs::shownMessages(), QStringList{QStringLiteral("Error: ") + text});
    }

    void messageBox_hasTheStandardCaptionsAndButtons()
    {
        QStringList buttons;
        QString caption;
        Dialogs::setMessageBoxInspector([&](QMessageBox& box) {
            caption = box.windowTitle();
            for (QAbstractButton* b : box.buttons())
                buttons << b->text();
            QCOMPARE(box.defaultButton()->text(), QStringLiteral("&No"));
            QCOMPARE(box.escapeButton()->text(), QStringLiteral("&No"));
        });
        Dialogs::queueAnswer(Dialogs::Yes);
        QCOMPARE(Dialogs::message(nullptr, Dialogs::Icon::Question, QStringLiteral("Sure?"),
                                  Dialogs::Yes | Dialogs::No, Dialogs::No, Dialogs::No),
                 Dialogs::Yes);
        QCOMPARE(caption, QStringLiteral("Confirm"));
        buttons.sort();
        QCOMPARE(buttons, (QStringList{QStringLiteral("&No"), QStringLiteral("&Yes")}));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
