// The exam window as a candidate works it from the keyboard: digits choose
// answers, Return never opens an exhibit, the name dialog's text is ready to
// be typed over, the clock turns red near the end and shows its first second
// on time, and a font change lays the item out again at once.
#include "TestEnv.h"
#include "core/exam/Clock.h"
#include "core/exam/TKZTimeCounter.h"
#include "ui/app/ProgramWindows.h"
#include "ui/exam/ExamHeader.h"
#include "ui/exam/ItemView.h"
#include "ui/exam/TTestForm.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/widgets/Contrast.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ShadedLabel.h"
#include "ui/widgets/TKeyboardForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <algorithm>

namespace {

// A single-response item with an exhibit and a multiple-response one.
TTestForm* startExam(TestEnv& env, int minutes = 90, const QString& question = QStringLiteral("Q1"))
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    picture.save(env.path(QStringLiteral("net.bmp")));
    TestItem single = TestEnv::item(1, 1, question, QStringLiteral("b"));
    single.pict1 = QStringLiteral("net.bmp");
    env.writeBank({single, TestEnv::item(1, 2, QStringLiteral("Q2"), QStringLiteral("ac"), true)});
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    TTestForm* f = env.createForms();
    f->showNormal();
    f->resize(900, 560);
    Driver::startExam(f, "Action1", QStringLiteral("Ann"), minutes, 5);
    return f;
}

QRadioButton* radio(TTestForm* f, int k)
{
    return Driver::find<QRadioButton>(f, "RadioButton", k);
}
QCheckBox* box(TTestForm* f, int k)
{
    return Driver::find<QCheckBox>(f, "CheckBox", k);
}
// Goes to the item whose answers are check boxes (or radio buttons).
void showItem(TTestForm* f, bool multiple)
{
    for (int i = 0; i < 2 && !box(f, 1)->isHidden() != multiple; ++i)
        Driver::press(f, "NextButton");
    if (!box(f, 1)->isHidden() != multiple)
        Driver::press(f, "PrevButton");
    QCOMPARE(!box(f, 1)->isHidden(), multiple);
}

// Whether a key listed ("Page Up, Alt+<", "Alt+A to Alt+F") covers an Alt key.
bool covers(const QString& listed, const QString& key)
{
    for (const QString& part : listed.split(QStringLiteral(", "))) {
        const QStringList range = part.split(QStringLiteral(" to "));
        if (range.size() == 1 && range.first() == key)
            return true;
        if (range.size() == 2 && key.size() == range.first().size() && key.size() == range.last().size() &&
            key.left(key.size() - 1) == range.first().left(key.size() - 1) &&
            key.back() >= range.first().back() && key.back() <= range.last().back())
            return true;
    }
    return false;
}

// The Alt keys of a window's buttons and menu titles not in the keyboard list's group.
QStringList unlisted(QWidget* window, const QStringList& listed, const QString& group)
{
    QStringList texts;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->window() == window)
            texts << b->text();
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        for (QAction* a : bar->actions())
            texts << a->text();
    QStringList missing;
    for (const QString& text : texts) {
        const QString key = QKeySequence::mnemonic(text).toString();
        if (key.isEmpty())
            continue;
        const bool found = std::any_of(listed.begin(), listed.end(), [&](const QString& l) {
            return l.startsWith(group + QStringLiteral(": ")) && covers(l.mid(group.size() + 2), key);
        });
        if (!found)
            missing << key + QStringLiteral(" (") + text + QLatin1Char(')');
    }
    return missing;
}

} // namespace

class TestExamKeys : public QObject
{
    Q_OBJECT
private slots:
    void digits_chooseChoicesAsAClickDoes()
    {
        TestEnv env;
        TTestForm* f = startExam(env);
        showItem(f, false);
        QWidget* focus = radio(f, 1);
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_2);
        QVERIFY(radio(f, 2)->isChecked());
        QTest::keyClick(focus, Qt::Key_4, Qt::KeypadModifier);
        QVERIFY(radio(f, 4)->isChecked() && !radio(f, 2)->isChecked());
        // A choice the item does not have, and digits outside 1 to 6, do nothing.
        QTest::keyClick(focus, Qt::Key_5);
        QTest::keyClick(focus, Qt::Key_7);
        QVERIFY(radio(f, 4)->isChecked());
        // With a modifier the digit is not an answer.
        QTest::keyClick(focus, Qt::Key_1, Qt::ControlModifier);
        QVERIFY(!radio(f, 1)->isChecked());

        showItem(f, true);
        f->setFocus();
        QTest::keyClick(f, Qt::Key_1);
        QTest::keyClick(f, Qt::Key_3);
        QVERIFY(box(f, 1)->isChecked() && box(f, 3)->isChecked() && !box(f, 2)->isChecked());
        QTest::keyClick(f, Qt::Key_1); // a second press clears it, as a second click does
        QVERIFY(!box(f, 1)->isChecked());

        // The Alt accelerators stay: Alt+1 is "Exhibit &1", not a choice.
        showItem(f, false);
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        radio(f, 4)->setFocus();
        int exhibits = 0;
        Dialogs::setModalHandler([&exhibits](QDialog*) {
            ++exhibits;
            return int(QDialog::Accepted);
        });
        QTest::keyClick(f, Qt::Key_1, Qt::AltModifier);
        QTRY_COMPARE(exhibits, 1);
        Dialogs::setModalHandler({});
        QVERIFY(!radio(f, 1)->isChecked());
    }

    void keyboardHelp_listsEveryKeyOfBothWindows()
    {
        TestEnv env;
        TTestForm* f = startExam(env);
        QStringList listed;
        int opened = 0;
        Dialogs::setModalHandler([&](QDialog* d) {
            if (auto* keys = qobject_cast<TKeyboardForm*>(d)) {
                ++opened;
                listed = keys->listedKeys();
            }
            return int(QDialog::Accepted);
        });
        Driver::press(f, "Keyboard1");
        QCOMPARE(opened, 1);
        QVERIFY(listed.contains(QStringLiteral("Exam window: 1 to 6")));
        QStringList missing = unlisted(f, listed, QStringLiteral("Exam window"));
        // The start page's buttons too.
        Dialogs::queueAnswer(Dialogs::Yes);
        Driver::press(f, "Button3");
        missing += unlisted(f, listed, QStringLiteral("Exam window"));
        TSamplerForm& sampler = env.windows().sampler();
        missing += unlisted(&sampler, listed, QStringLiteral("Test Sampler"));
        // The sampler's Help menu opens the same list.
        Driver::press(&sampler, "Keyboard1");
        Dialogs::setModalHandler({});
        QCOMPARE(opened, 2);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    }

    void returnOnAnAnswer_opensNoExhibit()
    {
        TestEnv env;
        TTestForm* f = startExam(env);
        showItem(f, false);
        QVERIFY(Driver::find<QPushButton>(f, "ExhBtnA")->isVisible());
        radio(f, 1)->setFocus();
        // An exhibit opened here is a dialog with no answer queued: the test fails.
        QTest::keyClick(radio(f, 1), Qt::Key_Return);
        QTest::keyClick(radio(f, 1), Qt::Key_Enter);
        for (QPushButton* b : f->findChildren<QPushButton*>()) {
            if (b->window() != f)
                continue;
            QVERIFY2(!b->autoDefault() && !b->isDefault(), qPrintable(b->objectName()));
        }
    }

    void nameDialog_nameIsSelectedForTyping()
    {
        TestEnv env;
        env.writeBank(TestEnv::sampleBank());
        env.writeEmptyCurrentSet();
        env.writeUserSet({});
        TTestForm* f = env.createForms();
        f->show();
        QString typed;
        Dialogs::setModalHandler([&typed](QDialog* d) {
            d->show();
            d->activateWindow();
            auto* name = Driver::find<QLineEdit>(d, "NameEdit");
            if (name->selectedText() != QStringLiteral("Your Name"))
                return int(QDialog::Rejected);
            QTest::keyClicks(name, QStringLiteral("Alex"));
            typed = name->text();
            return int(QDialog::Rejected);
        });
        Driver::press(f, "Action1");
        Dialogs::setModalHandler({});
        QCOMPARE(typed, QStringLiteral("Alex"));
    }

    void clock_turnsRedInTheLastFiveMinutes()
    {
        {
            TestEnv env;
            TTestForm* f = startExam(env, 6);
            auto* header = Driver::find<ExamHeader>(f, "Panel1");
            QVERIFY(!header->timeRunningOut());
        }
        TestEnv env;
        TTestForm* f = startExam(env, 5);
        auto* header = Driver::find<ExamHeader>(f, "Panel1");
        QVERIFY(header->timeRunningOut());
        Driver::tick(f, "Timer1");
        QVERIFY(header->timeRunningOut());
        // Red that reads on the header, which keeps its colour under any theme.
        auto* time = Driver::find<ShadedLabel>(f, "TimeLabel");
        QVERIFY(Contrast::ratio(time->textColor(), header->palette().color(QPalette::Window)) >=
                Contrast::Readable);
        // The next exam starts in the header's own colour again.
        Dialogs::queueAnswer(Dialogs::Yes);
        Driver::press(f, "Button3");
        Driver::startExam(f, "Action1", QStringLiteral("Ann"), 90, 5);
        QVERIFY(!header->timeRunningOut());
    }

    // The first tick is aimed just past the exam's first whole second, so
    // 1:29:59 shows after one second, not two. The clock is held still so
    // that a busy machine cannot change the outcome.
    void clock_showsItsFirstSecondOnTime()
    {
        TestEnv env;
        env.writeBank(TestEnv::sampleBank());
        env.writeEmptyCurrentSet();
        env.writeUserSet({});
        double now = 100.0;
        Clock::setSource([&now] { return now; });
        TTestForm* f = env.createForms();
        f->show();
        Driver::startExam(f, "Action1", QStringLiteral("Ann"), 90, 5);
        auto* time = Driver::find<ShadedLabel>(f, "TimeLabel");
        QCOMPARE(time->text(), QStringLiteral("1:30:00"));
        auto* tick = f->findChild<TKZTimeCounter*>();
        QVERIFY(tick && tick->isActive());
        QVERIFY2(tick->interval() > 1000 && tick->interval() < 1050,
                 qPrintable(QString::number(tick->interval())));
        now += 1.003 / 86400;
        QTRY_COMPARE_WITH_TIMEOUT(time->text(), QStringLiteral("1:29:59"), 5000);
        Clock::setSource({});
    }

    // A minute's wait: run with VELARIX_SLOW_TESTS=1.
    void clock_oneMinuteExamExpiresOnTheMinute()
    {
        if (!qEnvironmentVariableIsSet("VELARIX_SLOW_TESTS"))
            QSKIP("a minute long: VELARIX_SLOW_TESTS=1 runs it");
        TestEnv env;
        env.writeBank(TestEnv::sampleBank());
        env.writeEmptyCurrentSet();
        env.writeUserSet({});
        TTestForm* f = env.createForms();
        f->show();
        Driver::startExam(f, "Action1", QStringLiteral("Ann"), 1, 5);
        QElapsedTimer started;
        started.start();
        qint64 expired = -1;
        Dialogs::queueAnswer(Dialogs::Ok); // go on with the exam
        while (expired < 0 && started.elapsed() < 65000) {
            QTest::qWait(10);
            for (const QString& m : Dialogs::shownMessages())
                if (m.contains(QStringLiteral("Your time has expired")))
                    expired = started.elapsed();
        }
        qInfo("a 1-minute exam expired %lld ms after the exam was shown", expired);
        QVERIFY(expired >= 59900 && expired < 60600);
    }

    void fontChange_laysTheItemOutAtOnce()
    {
        TestEnv env;
        const QString long_ =
            QStringLiteral("Which of these commands lists the open ports of a server? ").repeated(6);
        TTestForm* f = startExam(env, 90, long_);
        showItem(f, false);
        auto* view = Driver::find<ItemView>(f, "ScrollBox1");
        auto* question = Driver::find<QWidget>(f, "QText");
        auto* choice = Driver::find<QWidget>(f, "ALabel", 1);
        const int questionHeight = question->height();
        const int choiceTop = choice->y();
        radio(f, 2)->click();
        QFont big = view->appearance().questionFont;
        big.setPointSize(big.pointSize() * 3);
        view->setPartFont(ItemPart::Question, big);
        // Taller at once, and the choices below it moved down with it.
        QTRY_VERIFY(view->isSettled());
        QVERIFY2(question->height() > 2 * questionHeight,
                 qPrintable(QStringLiteral("%1 -> %2").arg(questionHeight).arg(question->height())));
        QVERIFY(choice->y() - choiceTop >= question->height() - questionHeight - 2);
        // The answer given stays.
        QVERIFY(radio(f, 2)->isChecked());
        QVERIFY(view->isVisible());
    }
};

QTEST_MAIN(TestExamKeys)
#include "test_examkeys.moc"
