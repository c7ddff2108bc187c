#include "TestEnv.h"

#include "app/TAboutForm.h"
#include "app/TNameForm.h"
#include "exam/TPict1Form.h"
#include "exam/TPict2Form.h"
#include "exam/TProgressForm.h"
#include "exam/TTestForm.h"
#include "grading/TScoreForm.h"
#include "review/TNoteForm.h"
#include "review/TReviewForm.h"
#include "sampler/TDM.h"
#include "sampler/TSamplerForm.h"
#include "settings/TOptionsForm.h"
#include "store/ItemRecord.h"
#include "store/TableFiles.h"
#include "tables/Session.h"
#include "tables/Table.h"
#include "widgets/Dialogs.h"

#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

TestEnv::TestEnv()
{
    m_oldCurrent = QDir::currentPath();
    m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
    QDir(m_dir.path()).mkpath(QStringLiteral("config"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
    m_oldDataHome = qgetenv("XDG_DATA_HOME");
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
    QDir::setCurrent(m_dir.path());
    Dialogs::setTestMode(true);
}

TestEnv::~TestEnv()
{
    destroyForms();
    Dialogs::setTestMode(true);
    QDir::setCurrent(m_oldCurrent);
    if (m_oldConfigHome.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
    if (m_oldDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_oldDataHome);
}

QString TestEnv::path(const QString& name) const
{
    return QDir(m_dir.path()).filePath(name);
}

QString TestEnv::settingsFile() const
{
    return QDir(path(QStringLiteral("config"))).filePath(QStringLiteral("Velarix 2.0.ini"));
}

TestItem TestEnv::item(int exam, int section, const QString& question, const QString& correct, bool multiple,
                       int choices)
{
    TestItem t;
    t.exam = exam;
    t.section = section;
    t.question = question;
    for (int k = 0; k < choices; ++k)
        t.choices << QStringLiteral("Choice %1 of %2").arg(QChar('a' + k)).arg(question);
    t.correct = correct;
    t.multiple = multiple;
    t.explanation = QStringLiteral("Because %1 is right.").arg(correct);
    return t;
}

QList<TestItem> TestEnv::sampleBank()
{
    return {
        item(1, 1, QStringLiteral("Q1 planning"), QStringLiteral("b")),
        item(1, 2, QStringLiteral("Q2 install"), QStringLiteral("ac"), true),
        item(2, 3, QStringLiteral("Q3 access"), QStringLiteral("a")),
        item(2, 4, QStringLiteral("Q4 integration"), QStringLiteral("d")),
        item(3, 5, QStringLiteral("Q5 monitoring"), QStringLiteral("bd"), true),
        item(3, 6, QStringLiteral("Q6 troubleshooting"), QStringLiteral("c")),
        item(4, 1, QStringLiteral("Q7 planning"), QStringLiteral("a"), false, 2),
        item(4, 2, QStringLiteral("Q8 install"), QStringLiteral("c"), false, 3),
        item(5, 3, QStringLiteral("Q9 access"), QStringLiteral("abe"), true, 6),
        item(5, 4, QStringLiteral("Q10 integration"), QStringLiteral("b")),
        item(6, 5, QStringLiteral("Q11 extra"), QStringLiteral("a")),
        item(0, 6, QStringLiteral("Q12 retired"), QStringLiteral("a")),
    };
}

void TestEnv::writeTable(const QString& file, const QList<TestItem>& items, bool userSet)
{
    using namespace ItemRecord;
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    const QString full = path(file);
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(full + suffix);
    Table::createFile(full, TableFiles::SessionName, userSet ? userSetSchema() : bankSchema());
    Table t(TableFiles::SessionName, full);
    t.open();
    t.startTransaction();
    int id = 0;
    for (const TestItem& it : items) {
        t.append();
        if (!userSet) {
            t.fieldByName(Q_ID).setAsInteger(++id);
            t.fieldByName(Q_EXAM_N).setAsInteger(it.exam);
            t.fieldByName(PICT1).setAsString(it.pict1);
            t.fieldByName(PICT2).setAsString(it.pict2);
            t.fieldByName(Q_SIM).setAsString(QString());
        }
        t.fieldByName(Q_SECT).setAsInteger(it.section);
        t.fieldByName(Q_TEXT).setAsString(it.question);
        t.fieldByName(Q_EXPL).setAsString(it.explanation);
        t.fieldByName(Q_TYPE).setAsBoolean(it.multiple);
        for (int k = 1; k <= 6; ++k) {
            t.fieldByName(choiceText(k))
                .setAsString(k <= it.choices.size() ? it.choices.at(k - 1) : QString());
            t.fieldByName(choiceFlag(k)).setAsBoolean(it.correct.contains(QChar('a' + k - 1)));
        }
        t.fieldByName(U_MEMO).setAsString(it.memo);
        t.post();
    }
    t.commit();
}

void TestEnv::writeBank(const QList<TestItem>& items)
{
    writeTable(TableFiles::Bank, items, false);
}

void TestEnv::writeUserSet(const QList<TestItem>& items)
{
    writeTable(TableFiles::UserSet, items, true);
}

void TestEnv::writeEmptyCurrentSet()
{
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    Table::createFile(path(TableFiles::CurrentSet), TableFiles::SessionName, ItemRecord::currentSetSchema());
}

TTestForm* TestEnv::createForms()
{
    destroyForms();
    TestForm = new TTestForm;
    TestForm->resize(1000, 700);
    ProgressForm = new TProgressForm(TestForm);
    ScoreForm = new TScoreForm(TestForm);
    NameForm = new TNameForm(TestForm);
    ReviewForm = new TReviewForm(TestForm);
    NoteForm = new TNoteForm(TestForm);
    OptionsForm = new TOptionsForm(TestForm);
    DM = new TDM;
    AboutForm = new TAboutForm;
    SamplerForm = new TSamplerForm;
    Pict1Form = new TPict1Form(TestForm);
    Pict2Form = new TPict2Form(TestForm);
    return TestForm;
}

void TestEnv::destroyForms()
{
    delete SamplerForm;
    SamplerForm = nullptr;
    delete AboutForm;
    AboutForm = nullptr;
    delete DM;
    DM = nullptr;
    delete TestForm; // owns the dialogs parented to it
    TestForm = nullptr;
    ProgressForm = nullptr;
    ScoreForm = nullptr;
    NameForm = nullptr;
    ReviewForm = nullptr;
    NoteForm = nullptr;
    OptionsForm = nullptr;
    Pict1Form = nullptr;
    Pict2Form = nullptr;
}

void TestEnv::acceptNameDialog(const QString& name, int minutes, int count)
{
    Dialogs::setModalHandler([name, minutes, count](QDialog* dialog) {
        if (dialog != NameForm)
            return int(QDialog::Rejected);
        NameForm->NameEdit->setText(name);
        NameForm->SpinEdit1->setValue(minutes);
        if (count > 0)
            NameForm->SpinEdit2->setValue(count);
        NameForm->BitBtn1Click();
        return NameForm->result();
    });
}

void TestEnv::cancelNameDialog()
{
    Dialogs::setModalHandler([](QDialog*) { return int(QDialog::Rejected); });
}
