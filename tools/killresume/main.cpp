// velarix-killresume [--kills N] [--seed S]: kills the program at N random
// points of scripted exams (500 unless told) and checks what the record of
// the running exam gives back. Each run starts a child (this program with
// --child) that takes an exam through the exam window's own controls and
// prints a line once each change has returned to it; the run is killed with
// SIGKILL after a random delay. The record is then read and compared with
// the changes acknowledged before the kill: one change may have been in
// flight, every earlier one must be there. Every table of the candidate is
// opened too. Prints the totals; exits 1 when a change was lost or a table
// damaged.
#include "TestEnv.h"
#include "core/exam/ExamRecord.h"
#include "core/history/ScoreHistory.h"
#include "core/store/DataFolder.h"
#include "core/store/TableFiles.h"
#include "core/tables/Session.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "ui/exam/TTestForm.h"
#include "ui/widgets/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int BankItems = 40;

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// The state of the current item as the window holds it, after a change.
QString stateLine(TTestForm* exam, int i)
{
    const int r = exam->dtCurrentSet->recNo();
    const AnswerEntry& e = exam->Sheet.entry(r);
    int bits = 0;
    for (int k = 0; k < 6; ++k)
        bits |= e.Choice[k] ? 1 << k : 0;
    return QStringLiteral("ack %1 %2 %3 %4 %5 %6")
        .arg(i)
        .arg(r)
        .arg(int(exam->examMode))
        .arg(bits)
        .arg(int(e.Marked))
        .arg(int(r <= int(exam->LearnShown.size()) && exam->LearnShown[std::size_t(r - 1)]));
}

// ---- the child: an exam taken change by change ------------------------------------

int child(const QString& folder, quint32 seed)
{
    TestEnv env; // settings and dialogs of a test; its own folders are not used
    Dialogs::setUnansweredHandler([](const QString& what) {
        std::fprintf(stderr, "shown: %s\n", qPrintable(what));
        std::exit(1);
    });
    QDir::setCurrent(folder);
    qputenv("XDG_DATA_HOME", QFile::encodeName(QDir(folder).filePath(QStringLiteral("data"))));
    TTestForm* exam = env.createForms();
    // The exam the last run left is continued: the record is what comes back.
    const bool kept = ExamRecord(DataFolder::user()).exists();
    if (kept)
        Dialogs::queueAnswer(Dialogs::Yes);
    exam->show();
    QApplication::processEvents();
    QApplication::processEvents();
    say(QStringLiteral("ready"));
    if (kept && exam->examMode != ExamMode::Idle) {
        say(QStringLiteral("resumed %1").arg(exam->ItemCount));
    } else {
        Driver::startExam(exam, "Action1", QStringLiteral("Ada"), 90, seed);
        if (exam->examMode != ExamMode::Testing)
            return 1;
        say(QStringLiteral("started %1").arg(exam->ItemCount));
    }
    QRandomGenerator random(seed);
    for (int i = 1;; ++i) {
        const int roll = int(random.bounded(100));
        const bool testing = exam->examMode == ExamMode::Testing;
        if (roll < 50 && testing) {
            Driver::pickChoice(exam, 1 + int(random.bounded(4)));
        } else if (roll < 62 && testing) {
            Driver::find<QCheckBox>(exam, "MarkBox")->click();
        } else if (roll < 78) {
            Driver::press(exam, "NextButton");
        } else if (roll < 90) {
            Driver::press(exam, "PrevButton");
        } else if (roll < 97 && testing) {
            auto* learn = Driver::find<QPushButton>(exam, "LearnButton");
            if (learn->isVisible() && learn->isEnabled())
                learn->click();
        } else if (testing && i > 150) {
            // Graded, then "View Answers": the exam goes on in review.
            Dialogs::queueAnswer(Dialogs::Ok);
            Dialogs::setModalHandler([](QDialog* score) {
                Driver::press(score, "BitBtn1");
                return int(QDialog::Accepted);
            });
            Driver::press(exam, "GradeButton");
        }
        say(stateLine(exam, i));
    }
}

// ---- the parent: kills and checks ----------------------------------------------------

struct Acked
{
    bool started = false;
    int changes = 0; // acknowledged in this run
    int current = 1;
    int mode = int(ExamMode::Testing);
    QMap<int, QPair<int, int>> entries; // recNo -> choice bits, marked
    QMap<int, bool> learned;
};

struct Totals
{
    int kills = 0;
    int acknowledged = 0;
    int givenBack = 0;
    int lost = 0;
    int damaged = 0;
};

void take(Acked& acked, const QString& line)
{
    const QStringList f = line.split(u' ');
    if (f.value(0) == QLatin1String("started")) {
        acked = Acked();
        acked.started = true;
    } else if (f.value(0) == QLatin1String("ack") && f.size() == 7) {
        ++acked.changes;
        const int r = f[2].toInt();
        acked.current = r;
        acked.mode = f[3].toInt();
        acked.entries[r] = {f[4].toInt(), f[5].toInt()};
        if (f[6].toInt())
            acked.learned[r] = true;
    }
}

// The parts of the record that differ from what was acknowledged: each item
// whose answer, mark or "Learn Now" differs, the item shown, the mode.
int differences(const Acked& acked, const ExamRecord::Exam& kept)
{
    int units = 0;
    for (auto it = acked.entries.begin(); it != acked.entries.end(); ++it) {
        const int r = it.key();
        if (r < 1 || r > int(kept.answers.size())) {
            ++units;
            continue;
        }
        const AnswerEntry& e = kept.answers[r - 1];
        int bits = 0;
        for (int k = 0; k < 6; ++k)
            bits |= e.Choice[k] ? 1 << k : 0;
        if (bits != it.value().first || int(e.Marked) != it.value().second ||
            kept.learnShown[r - 1] != acked.learned.value(r))
            ++units;
    }
    if (kept.currentRecNo != acked.current)
        ++units;
    if (int(kept.mode) != acked.mode)
        ++units;
    return units;
}

bool tablesOpen(const TestEnv& env, QString* problem)
{
    for (const QString& file : {TableFiles::CurrentSet, TableFiles::UserSet, TableFiles::Notes}) {
        try {
            Table t(TableFiles::SessionName, env.userPath(file));
            t.open();
            for (t.first(); !t.eof(); t.next()) {
            }
            t.close();
        } catch (const TableError& e) {
            *problem = e.message();
            return false;
        }
    }
    std::vector<HistoryAttempt> attempts;
    if (!ScoreHistory(env.userDir()).load(&attempts, problem))
        return false;
    return true;
}

int parent(const QString& self, int kills, quint32 seed)
{
    TestEnv env;
    QList<TestItem> bank;
    for (int i = 1; i <= BankItems; ++i)
        bank << TestEnv::item(1, 1 + i % 6, QStringLiteral("Question %1").arg(i),
                              i % 4 ? QStringLiteral("b") : QStringLiteral("ac"), i % 4 == 0);
    env.writeBank(bank);
    env.writeEmptyCurrentSet();
    env.writeUserSet({});
    Session session(TableFiles::SessionName);
    session.registerPassword(TableFiles::Password);
    qputenv("XDG_DATA_HOME", QFile::encodeName(QDir(env.dir()).filePath(QStringLiteral("data"))));

    QRandomGenerator random(seed);
    Totals totals;
    Acked acked; // what the candidate was told was done, run after run
    for (int k = 0; k < kills; ++k) {
        QProcess child;
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start(self, {QStringLiteral("--child"), env.dir(), QString::number(seed + 1 + k)});
        child.waitForStarted(30000);
        QStringList lines;
        QElapsedTimer clock;
        clock.start();
        const int delay = int(random.bounded(1500));
        bool ready = false;
        qint64 readyAt = 0;
        while (child.state() == QProcess::Running && clock.elapsed() < 60000) {
            child.waitForReadyRead(5);
            while (child.canReadLine()) {
                const QString line = QString::fromUtf8(child.readLine()).trimmed();
                if (line == QLatin1String("ready")) {
                    ready = true;
                    readyAt = clock.elapsed();
                } else {
                    lines << line;
                }
            }
            if (ready && clock.elapsed() - readyAt >= delay)
                break;
        }
        const bool stoppedByItself = child.state() != QProcess::Running;
        child.kill();
        child.waitForFinished(10000);
        while (child.canReadLine())
            lines << QString::fromUtf8(child.readLine()).trimmed();
        if (stoppedByItself) {
            std::fprintf(stderr, "run %d: the child stopped by itself: %s\n", k,
                         child.readAllStandardError().constData());
            return 2;
        }
        if (!ready) {
            std::fprintf(stderr, "run %d: the child did not start: %s\n", k,
                         child.readAllStandardError().constData());
            return 2;
        }
        ++totals.kills;
        acked.changes = 0;
        for (const QString& line : lines)
            take(acked, line);
        QString problem;
        if (!tablesOpen(env, &problem)) {
            ++totals.damaged;
            std::printf("run %d: %s\n", k, qPrintable(problem));
            continue;
        }
        if (!acked.started)
            continue; // killed before the exam began: nothing was acknowledged
        totals.acknowledged += acked.changes;
        ExamRecord record(env.userDir());
        try {
            const ExamRecord::Exam kept = record.load();
            if (kept.title.isEmpty()) {
                totals.lost += acked.changes;
                std::printf("run %d: no exam kept after %d changes\n", k, acked.changes);
                continue;
            }
            // One change may have been in flight when the kill came.
            const int lost = qMax(0, differences(acked, kept) - 1);
            totals.lost += lost;
            totals.givenBack += acked.changes - lost;
            if (lost)
                std::printf("run %d: %d of %d changes lost\n", k, lost, acked.changes);
            // The next run goes on from what was kept.
            acked.current = kept.currentRecNo;
            acked.mode = int(kept.mode);
            acked.entries.clear();
            acked.learned.clear();
            for (std::size_t i = 0; i < kept.answers.size(); ++i) {
                int bits = 0;
                for (int c = 0; c < 6; ++c)
                    bits |= kept.answers[i].Choice[c] ? 1 << c : 0;
                acked.entries[int(i) + 1] = {bits, int(kept.answers[i].Marked)};
                if (kept.learnShown[i])
                    acked.learned[int(i) + 1] = true;
            }
        } catch (const TableError& e) {
            ++totals.damaged;
            std::printf("run %d: %s\n", k, qPrintable(e.message()));
        }
        record.close();
    }
    std::printf("kills: %d\nchanges acknowledged before the kills: %d\nchanges given back after them: %d\n"
                "changes lost: %d (goal 0)\ntables damaged: %d (goal 0)\n",
                totals.kills, totals.acknowledged, totals.givenBack, totals.lost, totals.damaged);
    return totals.lost == 0 && totals.damaged == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Velarix 2.0"));
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == QLatin1String("--child") && args.size() == 4)
        return child(args[2], args[3].toUInt());
    int kills = 500;
    quint32 seed = 1;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--kills") && i + 1 < args.size())
            kills = args[++i].toInt();
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            seed = args[++i].toUInt();
        else {
            std::fprintf(stderr, "usage: velarix-killresume [--kills N] [--seed S]\n");
            return 2;
        }
    }
    return parent(QCoreApplication::applicationFilePath(), kills, seed);
}
