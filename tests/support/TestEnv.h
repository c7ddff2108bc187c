#pragma once

#include "TestFolder.h"

class TTestForm;

// A test folder with the dialogs in test mode, and the program's windows
// created the way the program creates them (without the start window).
class TestEnv : public TestFolder
{
public:
    TestEnv();
    ~TestEnv();

    // The exam window and the windows it uses, set as the global windows.
    TTestForm* createForms();
    void destroyForms();

    // Answers the next name dialog with OK (name, minutes, number of
    // questions; 0 keeps the number shown) or with Cancel.
    static void acceptNameDialog(const QString& name = QStringLiteral("Tester"), int minutes = 90,
                                 int count = 0);
    static void cancelNameDialog();
};
