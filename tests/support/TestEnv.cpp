#include "TestEnv.h"

#include "ui/app/CreateForms.h"
#include "ui/exam/TNameForm.h"
#include "ui/exam/TTestForm.h"
#include "ui/widgets/Dialogs.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

TestEnv::TestEnv()
{
    Dialogs::setTestMode(true);
}

TestEnv::~TestEnv()
{
    destroyForms();
    Dialogs::setTestMode(true);
}

TTestForm* TestEnv::createForms()
{
    ::createForms();
    TestForm->resize(1000, 700);
    return TestForm;
}

void TestEnv::destroyForms()
{
    ::destroyForms();
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
        NameForm->BitBtn1->click();
        return NameForm->result();
    });
}

void TestEnv::cancelNameDialog()
{
    Dialogs::setModalHandler([](QDialog*) { return int(QDialog::Rejected); });
}
