#include "ui/sampler/TImportSectionForm.h"

#include "core/store/SectionNames.h"
#include "ui/widgets/ControlNames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TImportSectionForm::TImportSectionForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ImportSectionForm"));
    setWindowTitle(QStringLiteral("Import Questions"));
    auto* col = new QVBoxLayout(this);
    PromptLabel = new QLabel(this);
    PromptLabel->setTextFormat(Qt::PlainText);
    PromptLabel->setWordWrap(true);
    col->addWidget(PromptLabel);
    SectionList = new QListWidget(this);
    SectionList->setAccessibleName(QStringLiteral("Section of the imported questions"));
    SectionList->addItems(SectionNames::all());
    SectionList->setCurrentRow(0);
    SectionList->setMinimumWidth(280);
    PromptLabel->setBuddy(SectionList);
    col->addWidget(SectionList, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    col->addLayout(buttons);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(SectionList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    nameControls({{PromptLabel, "PromptLabel"},
                  {SectionList, "SectionList"},
                  {OKButton, "OKButton"},
                  {CancelButton, "CancelButton"}});
}

void TImportSectionForm::Prepare(int unsortedCount)
{
    PromptLabel->setText(
        unsortedCount == 1 ? QStringLiteral("One question of the file names no section. Choose its section:")
                           : QStringLiteral("%1 questions of the file name no section. Choose their section:")
                                 .arg(unsortedCount));
    if (SectionList->currentRow() < 0)
        SectionList->setCurrentRow(0);
    SectionList->setFocus();
}

int TImportSectionForm::chosenSection() const
{
    return std::max(0, SectionList->currentRow()) + 1;
}
