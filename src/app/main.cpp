#include "Application.h"
#include "InstanceLock.h"
#include "TAboutForm.h"
#include "TMainForm.h"
#include "TNameForm.h"
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

#include <memory>

int main(int argc, char** argv)
{
    InstanceLock instance(InstanceLock::lockNameFor(QString::fromLocal8Bit(argc > 0 ? argv[0] : "velarix")));
    const bool FirstInstance = instance.tryLock();

    Application app(argc, argv);
    if (!FirstInstance) {
        instance.wakeRunning();
        return 0;
    }
    QCoreApplication::setApplicationName(QStringLiteral("Velarix 2.0"));
    Application::installFontSubstitutions();
    instance.listen();
    QObject::connect(&instance, &InstanceLock::activateRequested, &app,
                     &Application::BringRunningInstanceToFront);

    // Every window once, in this order: the start window sets the working
    // folder, and the exam window registers the table password before any
    // table can be opened.
    auto mainForm = std::make_unique<TMainForm>();
    MainForm = mainForm.get();
    auto testForm = std::make_unique<TTestForm>();
    TestForm = testForm.get();
    ProgressForm = new TProgressForm(TestForm);
    ScoreForm = new TScoreForm(TestForm);
    NameForm = new TNameForm(TestForm);
    ReviewForm = new TReviewForm(TestForm);
    NoteForm = new TNoteForm(TestForm);
    OptionsForm = new TOptionsForm(TestForm);
    auto dm = std::make_unique<TDM>();
    DM = dm.get();
    auto aboutForm = std::make_unique<TAboutForm>();
    AboutForm = aboutForm.get();
    auto samplerForm = std::make_unique<TSamplerForm>();
    SamplerForm = samplerForm.get();
    Pict1Form = new TPict1Form(TestForm);
    Pict2Form = new TPict2Form(TestForm);

    MainForm->show();
    const int result = app.exec();
    Q_UNUSED(result);
    return 0;
}
