#pragma once

#include "TestFolder.h"
#include "WindowDriver.h"

#include <memory>

class ProgramWindows;
class TTestForm;

// A test folder with the dialogs in test mode, and the program's windows
// made the way the program makes them (without the start window). A dialog
// shown with no answer queued for it fails the running test.
class TestEnv : public TestFolder
{
public:
    TestEnv();
    ~TestEnv();

    // Makes the program's windows and returns the exam window.
    TTestForm* createForms();
    void destroyForms();
    // The windows made by createForms().
    ProgramWindows& windows() const { return *m_windows; }

    // Answers the next name dialog with OK (name, minutes, number of
    // questions; 0 keeps the number shown) or with Cancel.
    static void acceptNameDialog(const QString& name = QStringLiteral("Tester"), int minutes = 90,
                                 int count = 0)
    {
        Driver::acceptNameDialog(name, minutes, count);
    }
    static void cancelNameDialog() { Driver::cancelNameDialog(); }

private:
    std::unique_ptr<ProgramWindows> m_windows;
};
