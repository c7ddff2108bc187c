#include "TAboutForm.h"

#include "TMainForm.h"
#include "widgets/LinkLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutForm* AboutForm = nullptr;

const QString TAboutForm::WebAddress = QStringLiteral("https://www.examora.example/");

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Examora"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 14);
    layout->setSpacing(10);

    Image1 = new QLabel(this);
    Image1->setPixmap(TMainForm::banner());
    Image1->setAlignment(Qt::AlignCenter);
    layout->addWidget(Image1);

    CreditLabel = new QLabel(this);
    CreditLabel->setTextFormat(Qt::RichText);
    CreditLabel->setText(QStringLiteral("<p align=center><b>Velarix 2.0</b><br>"
                                        "Practice exams for Exam VLX-210,<br>"
                                        "Administering Linux Servers.</p>"
                                        "<p align=center>Written and published by Examora.<br>"
                                        "Copyright &copy; Examora. All rights reserved.</p>"));
    CreditLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(CreditLabel);

    WebLabel = new LinkLabel(QStringLiteral("www.examora.example"), QUrl(WebAddress), this);
    WebLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(WebLabel, 0, Qt::AlignHCenter);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    OKButton->setMinimumWidth(82);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout();
    row->addStretch(1);
    row->addWidget(OKButton);
    row->addStretch(1);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
