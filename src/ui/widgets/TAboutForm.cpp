#include "ui/widgets/TAboutForm.h"

#include "ui/widgets/ControlNames.h"
#include "ui/widgets/LinkLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

const QString TAboutForm::WebAddress = QStringLiteral("https://www.examora.example/");

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Examora"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 14);
    layout->setSpacing(10);

    Image1 = new QLabel(this);
    Image1->setPixmap(banner());
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
    nameControls(
        {{Image1, "Image1"}, {CreditLabel, "CreditLabel"}, {WebLabel, "WebLabel"}, {OKButton, "OKButton"}});
}

QPixmap TAboutForm::banner()
{
    QPixmap pixmap(221, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 48);
    g.setColorAt(0, QColor(70, 110, 190));
    g.setColorAt(1, QColor(10, 30, 100));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 220, 47), 8, 8);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(26);
    f.setBold(true);
    f.setItalic(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(QRect(2, 2, 221, 34), Qt::AlignCenter, QStringLiteral("Examora"));
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 221, 34), Qt::AlignCenter, QStringLiteral("Examora"));
    QFont small(QStringLiteral("Verdana"));
    small.setPixelSize(10);
    p.setFont(small);
    p.setPen(QColor(200, 220, 255));
    p.drawText(QRect(0, 31, 221, 15), Qt::AlignCenter, QStringLiteral("Velarix 2.0 practice exams"));
    return pixmap;
}
