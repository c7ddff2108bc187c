// The three printouts through the program's own windows: the item printout
// and the answer key from the exam window's menu, the score report from the
// score window.
#include "TestEnv.h"
#include "core/grading/ChartText.h"
#include "core/grading/ItemReport.h"
#include "core/grading/ScoreReport.h"
#include "core/store/ItemRecord.h"
#include "core/tables/DataSource.h"
#include "core/tables/Table.h"
#include "ui/exam/TTestForm.h"
#include "ui/grading/TScoreForm.h"
#include "ui/reports/FontTextMeasurer.h"
#include "ui/reports/ReportPainter.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ItemText.h"
#include "ui/widgets/ShadedLabel.h"

#include <QAction>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

using namespace ItemRecord;

namespace {
const QString ExamB = QStringLiteral("Practice Exam B");

// Practice exam B: choices a to d, all six, an empty b, an empty
// explanation, and plain items to make up the count.
QList<TestItem> examBank(int plainItems)
{
    QList<TestItem> items;
    items << TestEnv::item(2, 1, QStringLiteral("Four choices, a and c right"), QStringLiteral("ac"), true,
                           4);
    items << TestEnv::item(2, 2, QStringLiteral("Six choices, f right"), QStringLiteral("f"), false, 6);
    TestItem emptyB = TestEnv::item(2, 3, QStringLiteral("Choice b is empty"), QStringLiteral("a"), false, 3);
    emptyB.choices[1].clear();
    items << emptyB;
    TestItem noExplanation =
        TestEnv::item(2, 4, QStringLiteral("No explanation"), QStringLiteral("b"), false, 2);
    noExplanation.explanation.clear();
    items << noExplanation;
    TestItem blanks =
        TestEnv::item(2, 5, QStringLiteral("Choice c is blanks"), QStringLiteral("d"), false, 4);
    blanks.choices[2] = QStringLiteral("   ");
    items << blanks;
    TestItem wordy =
        TestEnv::item(2, 6, QStringLiteral("A question that runs over several lines. ").repeated(9),
                      QStringLiteral("bc"), true, 4);
    wordy.choices[1] =
        QStringLiteral("A choice that needs more than one line to say what it says. ").repeated(4);
    wordy.explanation = QStringLiteral("An explanation of some length, wrapped as it must be. ").repeated(6);
    items << wordy;
    for (int i = 0; i < plainItems; ++i)
        items << TestEnv::item(2, i % 6 + 1, QStringLiteral("Plain item %1 ").arg(i + 1).repeated(1 + i % 5),
                               QStringLiteral("b"), false, 4);
    items << TestEnv::item(1, 1, QStringLiteral("Not in exam B"), QStringLiteral("a"));
    return items;
}

QString pdfDump(const QString& name)
{
    const QByteArray shots = qgetenv("VELARIX_SHOTS");
    return shots.isEmpty() ? QString() : QString::fromLocal8Bit(shots) + QLatin1Char('/') + name;
}

bool isPdf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(4) == "%PDF";
}

QList<qreal> valuesOf(const QBarSet* set)
{
    QList<qreal> v;
    for (int i = 0; i < set->count(); ++i)
        v << set->at(i);
    return v;
}

// Texts and check boxes must not run into each other.
void verifyNoOverlaps(const ReportPage& page)
{
    QList<QRectF> solid;
    QStringList names;
    for (const ReportElement& e : page.elements) {
        if (e.kind != ReportElement::Kind::Text && e.kind != ReportElement::Kind::Symbol)
            continue;
        if (e.kind == ReportElement::Kind::Text && e.lines.isEmpty())
            continue;
        solid << QRectF(e.rect.left(), e.solidTop(), e.rect.width(), e.solidBottom() - e.solidTop());
        names << e.name;
    }
    for (int i = 0; i < solid.size(); ++i)
        for (int j = i + 1; j < solid.size(); ++j)
            QVERIFY2(!solid[i].adjusted(0.01, 0.01, -0.01, -0.01).intersects(solid[j]),
                     qPrintable(names[i] + QStringLiteral(" / ") + names[j]));
}
} // namespace

class TestPrintouts : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<TestEnv> env;
    TTestForm* form = nullptr;
    QString pdf;

    Table& ces() { return *form->dtCurrentSet; }
    // The exam window's controls, by their design names.
    template <typename T> T* control(const char* name) { return Driver::find<T>(form, name); }
    void startExamB(int plainItems = 4)
    {
        env->writeBank(examBank(plainItems));
        form = env->createForms();
        Driver::startExam(form, "Action2", QStringLiteral("Ann"), 90, 5);
        QCOMPARE(form->examMode, ExamMode::Testing);
        QCOMPARE(form->ExamTitle, ExamB);
    }
    void gotoQuestion(const QString& question)
    {
        for (ces().first(); !ces().eof(); ces().next())
            if (ces().fieldByName(Q_TEXT).asString() == question)
                return;
        QFAIL("no such item");
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->writeEmptyCurrentSet();
        env->writeUserSet({});
        pdf = env->path(QStringLiteral("out.pdf"));
    }
    void cleanup()
    {
        form = nullptr;
        env.reset();
    }

    void choiceLines_data();
    void choiceLines();
    void itemPrintoutOfEveryItem();
    void itemPrintoutIsCutAtThePageEnd();
    void itemPrintoutCancelledPrintsNothing();
    void examPrintoutIsAnAnswerKey();
    void examPrintoutBreaksPages();
    void examPrintoutFailingStillReturnsToTheItem();
    void scorePrintoutMatchesTheWindow();
    void longTitlesStayClearOfTheBrand();
};

void TestPrintouts::choiceLines_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QString>("explanation");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("a to d") << QStringList{"A", "B", "C", "D", "", ""} << "Why"
                            << QStringList{"a.  A", "", "b.  B", "", "c.  C", "",
                                           "d.  D", "", "",      "", "",      "Why"};
    QTest::newRow("all six") << QStringList{"A", "B", "C", "D", "E", "F"} << "Why"
                             << QStringList{"a.  A", "",      "b.  B", "",      "c.  C", "", "d.  D",
                                            "",      "e.  E", "",      "f.  F", "",      "", "Why"};
    QTest::newRow("empty b, gap at d")
        << QStringList{"A", "", "C", "", "E", ""} << "Why"
        << QStringList{"a.  A", "", "b.  ", "", "c.  C", "", "", "e.  E", "", "", "", "Why"};
    QTest::newRow("no explanation") << QStringList{"A", "B", "", "", "", ""} << ""
                                    << QStringList{"a.  A", "", "b.  B", "", "", "", "", "", "", ""};
}

void TestPrintouts::choiceLines()
{
    QFETCH(QStringList, choices);
    QFETCH(QString, explanation);
    QFETCH(QStringList, lines);
    std::array<QString, 6> six;
    std::copy(choices.begin(), choices.end(), six.begin());
    QCOMPARE(ItemReport::choiceLines(six, explanation), lines);
}

void TestPrintouts::itemPrintoutOfEveryItem()
{
    startExamB();
    Dialogs::setPrintFile(pdf);
    const FontTextMeasurer measurer;
    for (int r = 1; r <= form->ItemCount; ++r) {
        ces().setRecNo(r);
        if (r == 3) { // printing in review shows the same, explanation and all
            form->examMode = ExamMode::Reviewing;
            form->ReviewControls();
        }
        const ExamMode mode = form->examMode;
        const QString question = control<ItemText>("QText")->text();
        std::array<QString, 6> choices;
        for (int k = 0; k < 6; ++k)
            choices[k] = ces().fieldByName(choiceText(k + 1)).asString();
        const QString explanation = ces().fieldByName(Q_EXPL).asString();
        Dialogs::clearLog();
        QFile::remove(pdf);
        Driver::press(form, "Print1");

        QCOMPARE(Dialogs::shownMessages(), QStringList{QStringLiteral("Print: Report")});
        QVERIFY(isPdf(pdf));
        QCOMPARE(ces().recNo(), r);
        QCOMPARE(form->examMode, mode);
        const ReportDocument& doc = ReportPainter::lastDocument();
        QCOMPARE(doc.name, QStringLiteral("Report"));
        QCOMPARE(doc.pages.size(), 1);
        QVERIFY(!doc.truncated);
        const ReportPage& page = doc.pages.first();
        QCOMPARE(page.named("ExamLabel").first().text(), QStringLiteral("Velarix 2.0, Practice Exam B"));
        QCOMPARE(page.named("ItemNumberLabel").first().text(), QStringLiteral("Item Number: %1").arg(r));
        QCOMPARE(page.named("QuestionBlock").first().lines.join(QLatin1Char(' ')), question);
        // Every line of the block prints, a long one wrapped inside the block.
        QStringList wrapped;
        for (const QString& line : ItemReport::choiceLines(choices, explanation)) {
            const QStringList parts = measurer.wrap(line, ReportFont::arial(10), 168.275);
            wrapped << (parts.isEmpty() ? QStringList{QString()} : parts);
        }
        QCOMPARE(page.named("ChoicesBlock").first().lines, wrapped);
        QCOMPARE(page.named("FooterLabel").first().text(), QStringLiteral("Velarix 2.0"));
        // The footer stands at the bottom margin, the choices below the question.
        QCOMPARE(page.named("FooterLine").first().rect.top(), 279.4 - 6.35 - 32.015 + 1.323);
        QVERIFY(page.named("ChoicesBlock").first().rect.top() >
                page.named("QuestionBlock").first().solidBottom());
        verifyNoOverlaps(page);
        if (r == 1 && !pdfDump(QString()).isEmpty())
            QFile::copy(pdf, pdfDump(QStringLiteral("item.pdf")));
    }
}

void TestPrintouts::itemPrintoutIsCutAtThePageEnd()
{
    startExamB();
    gotoQuestion(QStringLiteral("Six choices, f right"));
    ces().edit();
    ces().fieldByName(Q_EXPL).setAsString(QStringLiteral("A long explanation that goes on. ").repeated(400));
    ces().post();
    Dialogs::setPrintFile(pdf);
    Driver::press(form, "Print1");
    const ReportDocument& doc = ReportPainter::lastDocument();
    QCOMPARE(doc.pages.size(), 1);
    QVERIFY(doc.truncated);
    const ReportElement choices = doc.pages.first().named("ChoicesBlock").first();
    QVERIFY(choices.lines.first().startsWith(QStringLiteral("a.  ")));
    const double footerTop = 279.4 - 6.35 - 32.015;
    QVERIFY(choices.solidBottom() <= footerTop + 1e-6);
    QVERIFY(choices.solidBottom() > footerTop - choices.lineHeight);
    QVERIFY(isPdf(pdf));
    if (!pdfDump(QString()).isEmpty())
        QFile::copy(pdf, pdfDump(QStringLiteral("item-long.pdf")));
}

void TestPrintouts::itemPrintoutCancelledPrintsNothing()
{
    startExamB();
    Dialogs::setPrintFile(pdf);
    Dialogs::queuePrintAnswer(false);
    Driver::press(form, "Print1");
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(Dialogs::shownMessages().contains(QStringLiteral("Print: Report")));
    // Without a print file the test's print dialog is cancelled too.
    Dialogs::setPrintFile(QString());
    Driver::press(form, "Print1");
    QVERIFY(!QFile::exists(pdf));
}

void TestPrintouts::examPrintoutIsAnAnswerKey()
{
    startExamB();
    gotoQuestion(QStringLiteral("Choice b is empty"));
    const int current = ces().recNo();
    const QString shownItem = control<ShadedLabel>("Label1")->text();
    const QString shownQuestion = control<ItemText>("QText")->text();

    // The exam set in exam order, as the report must print it.
    struct Expected
    {
        qint64 id;
        QString question;
        QString explanation;
        QStringList choices;
        QString correct;
    };
    QList<Expected> expected;
    int redraws = 0;
    connect(form->dsCurrentSet, &DataSource::dataChanged, this, [&redraws] { ++redraws; });
    for (int r = 1; r <= form->ItemCount; ++r) {
        ces().setRecNo(r);
        Expected e{ces().fieldByName(Q_OR_NUMBER).asInteger(),
                   ces().fieldByName(Q_TEXT).asString(),
                   ces().fieldByName(Q_EXPL).asString(),
                   {},
                   {}};
        for (int k = 1; k <= 6; ++k) {
            e.choices << ces().fieldByName(choiceText(k)).asString();
            if (ces().fieldByName(choiceFlag(k)).asBoolean())
                e.correct += QChar('a' + k - 1);
        }
        expected << e;
    }
    ces().setRecNo(current);
    redraws = 0;

    bool previewed = false;
    Dialogs::setPreviewHandler([&](QPrinter* printer, const std::function<void(QPrinter*)>& paint) {
        previewed = true;
        // The walk is over and the exam window has not followed it.
        QCOMPARE(redraws, 0);
        QVERIFY(ces().controlsDisabled());
        QCOMPARE(control<ShadedLabel>("Label1")->text(), shownItem);
        QCOMPARE(printer->docName(), QStringLiteral("Report1"));
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        paint(printer);
    });
    Dialogs::clearLog();
    Driver::press(form, "Print2");
    QVERIFY(previewed);
    QCOMPARE(Dialogs::shownMessages(), QStringList{QStringLiteral("Preview: Report1")});
    QVERIFY(isPdf(pdf));
    if (!pdfDump(QString()).isEmpty())
        QFile::copy(pdf, pdfDump(QStringLiteral("exam.pdf")));

    // Back on the same item, in the same mode, following again.
    QCOMPARE(ces().recNo(), current);
    QVERIFY(!ces().controlsDisabled());
    QCOMPARE(form->examMode, ExamMode::Testing);
    QCOMPARE(control<ShadedLabel>("Label1")->text(), shownItem);
    QCOMPARE(control<ItemText>("QText")->text(), shownQuestion);

    const ReportDocument& doc = ReportPainter::lastDocument();
    QCOMPARE(doc.name, QStringLiteral("Report1"));
    QCOMPARE(doc.pages.first().named("ExamLabel").first().text(),
             QStringLiteral("Velarix 2.0, Practice Exam B"));
    QCOMPARE(doc.pages.first().named("SetLabel").first().text(),
             QStringLiteral("All Items in Practice Exam B"));

    // Walk the printed items: each begins with its identifier.
    int item = -1;
    const ReportElement* lastRow = nullptr;
    bool lastRowGrew = false;
    QString seenLetters;
    const auto finishItem = [&]() {
        if (item < 0)
            return;
        QString letters;
        for (int k = 0; k < 6; ++k)
            if (k < 2 || !expected[item].choices[k].isEmpty())
                letters += QChar('a' + k);
        QCOMPARE(seenLetters, letters);
    };
    for (const ReportPage& page : doc.pages) {
        verifyNoOverlaps(page);
        for (const ReportElement& e : page.elements) {
            if (e.name == QLatin1String("ItemId")) {
                finishItem();
                ++item;
                seenLetters.clear();
                QVERIFY(item < expected.size());
                QCOMPARE(e.text(), QStringLiteral("Item ID: %1 ").arg(expected[item].id));
            } else if (e.name == QLatin1String("Question")) {
                QCOMPARE(e.lines.join(QLatin1Char(' ')), expected[item].question);
            } else if (e.kind == ReportElement::Kind::Symbol) {
                const QChar letter = e.name.back();
                seenLetters += letter;
                QCOMPARE(e.symbol, expected[item].correct.contains(letter) ? 0xFE : 0xA8);
                QVERIFY(e.transparent);
                QCOMPARE(e.rect.height(), 5.292);
                lastRow = &e;
            } else if (e.name.startsWith(QLatin1String("Choice"))) {
                const int k = e.name.back().unicode() - 'a';
                QCOMPARE(e.lines.join(QLatin1Char(' ')), expected[item].choices[k]);
                lastRowGrew = e.lines.size() > 1;
            } else if (e.name == QLatin1String("Explanation")) {
                QCOMPARE(e.lines.join(QLatin1Char(' ')), expected[item].explanation);
                // A missing row takes no room: the explanation follows the last row printed.
                QVERIFY(lastRow);
                const double gap =
                    lastRow->name == QLatin1String("CheckBoxf")   ? 60.854 - 49.477 - 0.794
                    : lastRow->name == QLatin1String("CheckBoxe") ? 60.854 - 43.127 - 0.794 - 6.085
                    : lastRow->name == QLatin1String("CheckBoxd") ? 60.854 - 36.777 - 0.794 - 6.35 - 6.085
                                                                  : -1;
                if (gap > 0 && !lastRowGrew)
                    QVERIFY2(qAbs(e.rect.top() - lastRow->rect.top() - gap) < 1e-6,
                             qPrintable(expected[item].question));
            }
        }
    }
    finishItem();
    QCOMPARE(item + 1, expected.size());
}

void TestPrintouts::examPrintoutBreaksPages()
{
    startExamB(60);
    QVERIFY(form->ItemCount > 60);
    form->examMode = ExamMode::Reviewing; // the key prints the same in review
    form->ReviewControls();
    ces().setRecNo(form->ItemCount);
    Dialogs::setPreviewHandler({});
    Dialogs::setPrintFile(pdf);
    Driver::press(form, "Print2");
    QCOMPARE(ces().recNo(), form->ItemCount);
    QCOMPARE(form->examMode, ExamMode::Reviewing);
    const ReportDocument& doc = ReportPainter::lastDocument();
    QVERIFY(doc.pages.size() > 5);
    const double footerTop = 279.401 - 6.35 - 19.579;
    int items = 0;
    for (int p = 0; p < doc.pages.size(); ++p) {
        const ReportPage& page = doc.pages[p];
        const QList<ReportElement> number = page.named("PageNumber");
        QCOMPARE(number.size(), 1);
        QCOMPARE(number.first().text(), QStringLiteral("Page: %1").arg(p + 1));
        QCOMPARE(page.named("SetLabel").size(), p == 0 ? 1 : 0);
        // Items are whole on a page, and nothing runs into the footer.
        const int ids = int(page.named("ItemId").size());
        QCOMPARE(int(page.named("Question").size()), ids);
        QCOMPARE(int(page.named("Explanation").size()), ids);
        for (const ReportElement& e : page.elements)
            if (e.name != QLatin1String("PageNumber") && e.name != QLatin1String("FooterLine"))
                QVERIFY(e.solidBottom() <= footerTop + 1e-6);
        items += ids;
    }
    QCOMPARE(items, form->ItemCount);
    QVERIFY(isPdf(pdf));
    if (!pdfDump(QString()).isEmpty())
        QFile::copy(pdf, pdfDump(QStringLiteral("exam-long.pdf")));
}

void TestPrintouts::examPrintoutFailingStillReturnsToTheItem()
{
    startExamB();
    ces().setRecNo(2);
    const QString shownItem = control<ShadedLabel>("Label1")->text();
    Dialogs::setPreviewHandler([](QPrinter*, const std::function<void(QPrinter*)>&) {
        throw std::runtime_error("The printer is on fire.");
    });
    Dialogs::clearLog();
    Dialogs::queueAnswer(Dialogs::Ok);
    Driver::press(form, "Print2");
    QVERIFY(Dialogs::shownMessages().last().contains(QStringLiteral("The printer is on fire.")));
    QCOMPARE(ces().recNo(), 2);
    QVERIFY(!ces().controlsDisabled());
    QCOMPARE(control<ShadedLabel>("Label1")->text(), shownItem);
    // The exam window follows the exam set again.
    QTest::mouseClick(control<QPushButton>("NextButton"), Qt::LeftButton);
    QCOMPARE(control<ShadedLabel>("Label1")->text(), QStringLiteral("Item 3 of %1").arg(form->ItemCount));
}

void TestPrintouts::scorePrintoutMatchesTheWindow()
{
    startExamB();
    // The first two items right, the rest left unanswered.
    for (int r = 1; r <= 2; ++r) {
        ces().setRecNo(r);
        const std::array<bool, 6> correct = AnswerSheet::correctFlagsOf(ces());
        const bool multiple = ces().fieldByName(Q_TYPE).asBoolean();
        for (int k = 1; k <= 6; ++k)
            if (correct[k - 1]) {
                Driver::pickChoice(form, k);
                if (!multiple)
                    break;
            }
    }
    const auto verifyPrintout = [this](const ReportDocument& doc) {
        QCOMPARE(doc.name, QStringLiteral("Score Report"));
        QCOMPARE(doc.pages.size(), 1);
        const ReportPage& page = doc.pages.first();
        QCOMPARE(page.named("TitleLabel").first().text(),
                 ChartText::plain(Driver::chart(Driver::window<TScoreForm>(), "TotalChart")->title()));
        QCOMPARE(page.named("ResultLabel").first().text(),
                 Driver::find<QLabel>(Driver::window<TScoreForm>(), "TotalLabel")->text());
        QCOMPARE(page.named("DateLabel").first().text(),
                 QDate::currentDate().toString(QStringLiteral("M/d/yyyy")));
        QCOMPARE(page.named("FooterLabel").first().text(), QStringLiteral("Velarix 2.0"));
        const auto chartOf = [&page](const char* name) { return *page.named(name).first().chart; };
        const BarChart total = chartOf("TotalChart");
        const BarChart sections = chartOf("SectionChart");
        QList<qreal> values;
        QStringList labels;
        for (const BarChart::Bar& b : total.bars) {
            values << b.value;
            labels << b.label;
        }
        QCOMPARE(values, valuesOf(Driver::barSet(Driver::chart(Driver::window<TScoreForm>(), "TotalChart"))));
        QCOMPARE(labels, TScoreForm::categoryLabels(Driver::barCategories(
                             Driver::chart(Driver::window<TScoreForm>(), "TotalChart"))));
        QCOMPARE(total.bars.at(0).color, (ReportColor{0, 128, 0}));
        QCOMPARE(total.bars.at(1).color, (ReportColor{0, 0, 255}));
        QCOMPARE(total.axisMaximum, 1000.0);
        values.clear();
        labels.clear();
        for (const BarChart::Bar& b : sections.bars) {
            values << b.value;
            labels << b.label;
            QCOMPARE(b.color, (ReportColor{255, 0, 0}));
        }
        QCOMPARE(values, valuesOf(Driver::barSet(Driver::chart(Driver::window<TScoreForm>(), "Chart1"))));
        QCOMPARE(labels, TScoreForm::categoryLabels(
                             Driver::barCategories(Driver::chart(Driver::window<TScoreForm>(), "Chart1"))));
        QCOMPARE(sections.axisMaximum, 100.0);
        verifyNoOverlaps(page);
    };

    int shown = 0;
    const auto inScoreWindow = [&]() {
        Dialogs::setPrintFile(pdf);
        Dialogs::clearLog();
        Driver::press(Driver::window<TScoreForm>(), "BitBtn2");
        QCOMPARE(Dialogs::shownMessages(), QStringList{QStringLiteral("Print: Score Report")});
        QVERIFY(isPdf(pdf));
        if (shown == 1 && !pdfDump(QString()).isEmpty())
            QFile::copy(pdf, pdfDump(QStringLiteral("score.pdf")));
        verifyPrintout(ReportPainter::lastDocument());
        // Printing keeps the window open and the exam as it was.
        QVERIFY(Driver::window<TScoreForm>()->isVisible());
        QCOMPARE(form->examMode, shown == 1 ? ExamMode::Testing : ExamMode::Reviewing);
        // Cancelled, nothing is printed.
        QFile::remove(pdf);
        Dialogs::queuePrintAnswer(false);
        Driver::press(Driver::window<TScoreForm>(), "BitBtn2");
        QVERIFY(!QFile::exists(pdf));
        Driver::press(Driver::window<TScoreForm>(), "BitBtn1");
    };
    Dialogs::setModalHandler([&](QDialog* d) {
        ++shown;
        d->show();
        inScoreWindow();
        d->hide();
        return d->result();
    });
    Dialogs::queueAnswer(Dialogs::Ok);
    Driver::press(form, "GradeButton");
    QCOMPARE(shown, 1);
    QCOMPARE(Driver::find<QLabel>(Driver::window<TScoreForm>(), "TotalLabel")->text(),
             QStringLiteral("Passing Score: 850   Your Score: %1   Grade: Fail")
                 .arg(qRound(2000.0 / form->ItemCount)));

    // Reopened in review, after the answers changed, it prints the grading.
    for (int i = 0; i < form->Sheet.size(); ++i)
        form->Sheet[i].Correct = 1;
    Driver::press(form, "GradeButton");
    QCOMPARE(shown, 2);
    QCOMPARE(ReportPainter::lastDocument().pages.first().named("ResultLabel").first().text(),
             Driver::find<QLabel>(Driver::window<TScoreForm>(), "TotalLabel")->text());
    QVERIFY(Driver::find<QLabel>(Driver::window<TScoreForm>(), "TotalLabel")
                ->text()
                .endsWith(QStringLiteral("Fail")));
}

void TestPrintouts::longTitlesStayClearOfTheBrand()
{
    // A candidate's name of any length never runs over the brand's frame.
    GradeResult result;
    result.ScoreTitle =
        QStringLiteral("Bartholomew Maximilian Featherstonehaugh-Cholmondeley the Third,  Velarix 2.0,  "
                       "Practice Exam B");
    ScoreReport report;
    report.fill(result);
    const ReportDocument doc = report.run(FontTextMeasurer());
    const ReportElement title = doc.pages.first().named("TitleLabel").first();
    const ReportElement frame = doc.pages.first().named("BrandFrame").first();
    QVERIFY(title.rect.left() > frame.rect.right());
    QVERIFY(title.text().endsWith(QChar(0x2026)));
    QVERIFY(result.ScoreTitle.startsWith(title.text().chopped(1)));
    // Right-aligned at its designed right edge.
    QCOMPARE(title.rect.right(), 6.35 + 182.298);
    // A short title is printed whole.
    result.ScoreTitle = QStringLiteral("Ann,  Velarix 2.0,  Random Exam");
    report.fill(result);
    QCOMPARE(report.run(FontTextMeasurer()).pages.first().named("TitleLabel").first().text(),
             result.ScoreTitle);
}

QTEST_MAIN(TestPrintouts)
#include "test_printouts.moc"
