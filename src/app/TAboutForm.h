#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class LinkLabel;

// The about box, shown from the "&Help" menus of the exam window and the
// test sampler: banner, credit lines, the maker's web address and OK.
class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    // The maker's web page, opened by the link.
    static const QString WebAddress;

    QLabel* Image1 = nullptr;
    QLabel* CreditLabel = nullptr;
    LinkLabel* WebLabel = nullptr;
    QPushButton* OKButton = nullptr;
};

extern TAboutForm* AboutForm;
