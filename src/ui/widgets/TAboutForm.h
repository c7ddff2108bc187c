#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class LinkLabel;

// The about box, shown from the "&Help" menus of the exam window and the
// test sampler (so it lives below both): banner, credit lines, the maker's
// web address and OK.
class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    // The maker's web page, opened by the link.
    static const QString WebAddress;
    // The product banner, 221 x 48; the start window shows it too.
    static QPixmap banner();

private:
    QLabel* Image1 = nullptr;
    QLabel* CreditLabel = nullptr;
    LinkLabel* WebLabel = nullptr;
    QPushButton* OKButton = nullptr;
};
