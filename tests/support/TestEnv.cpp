#include "TestEnv.h"

#include "ui/app/ProgramWindows.h"
#include "ui/exam/TTestForm.h"
#include "ui/widgets/Dialogs.h"

#include <QTest>

TestEnv::TestEnv()
{
    Dialogs::setTestMode(true);
    Dialogs::setUnansweredHandler([](const QString& what) {
        const QString message = QStringLiteral("shown with no answer queued: ") + what;
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    });
}

TestEnv::~TestEnv()
{
    destroyForms();
    Dialogs::setTestMode(true);
    Dialogs::setUnansweredHandler({});
}

TTestForm* TestEnv::createForms()
{
    destroyForms();
    m_windows = std::make_unique<ProgramWindows>();
    m_windows->exam().resize(1000, 700);
    return &m_windows->exam();
}

void TestEnv::destroyForms()
{
    m_windows.reset();
}
