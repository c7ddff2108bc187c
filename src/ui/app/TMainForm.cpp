#include "ui/app/TMainForm.h"

#include "ui/app/ProgramWindows.h"

#include "core/sampler/TDM.h"
#include "core/store/CandidateTables.h"
#include "core/store/DataFolder.h"
#include "core/store/SectionNames.h"
#include "core/store/TableFiles.h"
#include "core/tables/Table.h"
#include "ui/exam/TTestForm.h"
#include "ui/sampler/TSamplerForm.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/ShadedButton.h"
#include "ui/widgets/TAboutForm.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TMainForm::TMainForm(ProgramWindows& windows, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint),
      m_windows(windows)
{
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 22);
    layout->setSpacing(16);
    Image1 = new QLabel(this);
    Image1->setPixmap(TAboutForm::banner());
    Image1->setAlignment(Qt::AlignCenter);
    layout->addWidget(Image1);

    Shape1 = new QFrame(this);
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setLineWidth(1);
    QPalette blue = Shape1->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    Shape1->setPalette(blue);
    auto* frame = new QVBoxLayout(Shape1);
    frame->setContentsMargins(28, 18, 28, 18);
    frame->setSpacing(8);
    StartTestBtn = new ShadedButton(QStringLiteral("Start &Testing"), QColor(0, 0, 128), Shape1);
    SamplerBtn = new ShadedButton(QStringLiteral("Test &Sampler"), QColor(128, 0, 128), Shape1);
    fcShapeBtn3 = new ShadedButton(QStringLiteral("E&xit"), QColor(0, 128, 128), Shape1);
    for (ShadedButton* b : {StartTestBtn, SamplerBtn, fcShapeBtn3})
        b->setFixedSize(138, 34);
    frame->addWidget(StartTestBtn, 0, Qt::AlignHCenter);
    frame->addWidget(SamplerBtn, 0, Qt::AlignHCenter);
    frame->addSpacing(18); // Exit stands apart
    frame->addWidget(fcShapeBtn3, 0, Qt::AlignHCenter);
    layout->addWidget(Shape1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(StartTestBtn, &QPushButton::clicked, this, guarded(this, &TMainForm::StartTestBtnClick));
    connect(SamplerBtn, &QPushButton::clicked, this, guarded(this, &TMainForm::SamplerBtnClick));
    connect(fcShapeBtn3, &QPushButton::clicked, this, guarded(this, &TMainForm::fcShapeBtn3Click));
    FormCreate();
    nameControls({{Image1, "Image1"},
                  {Shape1, "Shape1"},
                  {StartTestBtn, "StartTestBtn"},
                  {SamplerBtn, "SamplerBtn"},
                  {fcShapeBtn3, "fcShapeBtn3"}});
}

void TMainForm::FormCreate()
{
    // The bank and the exhibits are named without a folder: they are found in
    // the folder of what ships (the program's own, or the installed data).
    QDir::setCurrent(DataFolder::shipped());
    setWindowTitle(QStringLiteral("Velarix 2.0"));
    adjustSize();
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void TMainForm::showWhenFinished(QDialog* window)
{
    // Shows this window again once the window it opened has closed, however
    // it was closed (the dialog seam may only show the window in tests).
    connect(window, &QDialog::finished, this, &TMainForm::show,
            Qt::ConnectionType(Qt::SingleShotConnection | Qt::UniqueConnection));
}

void TMainForm::StartTestBtnClick()
{
    TTestForm* exam = &m_windows.exam();
    hide();
    showWhenFinished(exam);
    Dialogs::execModal(exam);
}

void TMainForm::SamplerBtnClick()
{
    for (const QString& notice : CandidateTables::prepare(TableFiles::SessionName, QDir::currentPath()))
        Dialogs::message(this, Dialogs::Icon::Warning, notice, Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
    TSamplerForm* sampler = &m_windows.sampler(); // made first, so it follows the set as it opens
    hide();
    try {
        m_windows.dataModule().dtUserSet->open();
    } catch (...) {
        // Without the user set the sampler cannot open; stay on the start window.
        show();
        throw;
    }
    sampler->Prepare(SectionNames::all());
    showWhenFinished(sampler);
    Dialogs::execModal(sampler);
}

void TMainForm::fcShapeBtn3Click()
{
    close();
}
