#include "TAboutForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

TAboutForm* AboutForm = nullptr;

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("<h2>Velarix 2.0</h2>"
                                           "<p>Examora practice exams for Exam VLX-210,<br>"
                                           "Administering Linux Servers.</p>"),
                            this);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
