#include "TSamplerForm.h"

#include "TDM.h"
#include "app/TMainForm.h"
#include "tables/Table.h"
#include "widgets/ErrorGuard.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

TSamplerForm* SamplerForm = nullptr;

TSamplerForm::TSamplerForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Test Sampler"));
    auto* layout = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    TabSheet1 = new QWidget;
    auto* page = new QVBoxLayout(TabSheet1);
    page->addWidget(new QLabel(QStringLiteral("Sections:"), TabSheet1));
    ListBox1 = new QListWidget(TabSheet1);
    page->addWidget(ListBox1);
    StatusLabel = new QLabel(TabSheet1);
    StatusLabel->setWordWrap(true);
    page->addWidget(StatusLabel);
    PageControl1->addTab(TabSheet1, QStringLiteral("Test question"));
    layout->addWidget(PageControl1);
    resize(520, 380);
}

void TSamplerForm::showEvent(QShowEvent* event)
{
    const int count = DM->dtUserSet->isOpen() ? DM->dtUserSet->recordCount() : 0;
    StatusLabel->setText(
        QStringLiteral("Your question set holds %1 item(s). Editing items is not available in this "
                       "version.")
            .arg(count));
    QDialog::showEvent(event);
}

void TSamplerForm::done(int result)
{
    ErrorGuard::run([] {
        if (MainForm)
            MainForm->show();
        DM->dtUserSet->close();
    });
    QDialog::done(result);
}
