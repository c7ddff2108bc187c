#include "ui/exam/TNameForm.h"

#include "ui/settings/ClampingSpinBox.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/ErrorGuard.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TNameForm::TNameForm(QWidget* parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(this);
    Label1->setAlignment(Qt::AlignRight);
    layout->addWidget(Label1);

    auto* grid = new QGridLayout;
    Label3 = new QLabel(QStringLiteral("Your Name: "), this);
    NameEdit = new QLineEdit(QStringLiteral("Your Name"), this);
    NameEdit->setMinimumWidth(200);
    Label2 = new QLabel(QStringLiteral("Time (min):"), this);
    // A typed number outside the range is brought to the nearest bound.
    SpinEdit1 = new ClampingSpinBox(this);
    SpinEdit1->setRange(1, 600);
    SpinEdit1->setValue(90);
    Label4 = new QLabel(QStringLiteral("Number of questions:"), this);
    SpinEdit2 = new ClampingSpinBox(this);
    SpinEdit2->setRange(1, 1);
    // The labels name their fields, also to a screen reader.
    Label3->setBuddy(NameEdit);
    Label2->setBuddy(SpinEdit1);
    Label4->setBuddy(SpinEdit2);
    grid->addWidget(Label3, 0, 0);
    grid->addWidget(NameEdit, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(SpinEdit1, 1, 1, Qt::AlignLeft);
    grid->addWidget(Label4, 2, 0);
    grid->addWidget(SpinEdit2, 2, 1, Qt::AlignLeft);
    layout->addLayout(grid);

    auto* buttons = new QDialogButtonBox(this);
    BitBtn1 = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    BitBtn2 = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtn1->setDefault(true);
    layout->addWidget(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, guarded(this, &TNameForm::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    nameControls({{Label1, "Label1"},
                  {Label3, "Label3"},
                  {NameEdit, "NameEdit"},
                  {Label2, "Label2"},
                  {SpinEdit1, "SpinEdit1"},
                  {Label4, "Label4"},
                  {SpinEdit2, "SpinEdit2"},
                  {BitBtn1, "BitBtn1"},
                  {BitBtn2, "BitBtn2"}});
}

void TNameForm::setNumberEnabled(bool enabled)
{
    SpinEdit2->setEnabled(enabled);
    Label4->setEnabled(enabled);
    // Enabled, the field takes the desktop's colours like the others (a dark
    // theme's included); disabled, it is greyed out whatever the theme.
    QPalette p;
    if (!enabled) {
        p.setColor(QPalette::Disabled, QPalette::Base, QColor(192, 192, 192));
        p.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    }
    SpinEdit2->setPalette(p);
}

void TNameForm::setMinutes(int minutes)
{
    SpinEdit1->setValue(minutes);
}

void TNameForm::setItemCount(int count, int maximum)
{
    SpinEdit2->setRange(1, qMax(maximum, 1));
    SpinEdit2->setValue(count);
}

QString TNameForm::candidateName() const
{
    return NameEdit->text();
}

int TNameForm::minutes() const
{
    return SpinEdit1->value();
}

int TNameForm::itemCount() const
{
    return SpinEdit2->value();
}

void TNameForm::FormActivate()
{
    Label1->setText(QStringLiteral("Date: ") +
                    QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void TNameForm::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
    // Typing replaces the name shown instead of adding to it.
    NameEdit->setFocus();
    NameEdit->selectAll();
}

void TNameForm::BitBtn1Click()
{
    // Typed text not yet committed to the number fields is taken as shown.
    SpinEdit1->interpretText();
    SpinEdit2->interpretText();
    accept();
}
