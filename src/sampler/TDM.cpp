#include "TDM.h"

#include "TSamplerForm.h"
#include "UserSetStatus.h"
#include "store/ItemRecord.h"
#include "store/TableFiles.h"
#include "tables/Table.h"
#include "widgets/ErrorGuard.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/ShadedLabel.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>

TDM* DM = nullptr;

TDM::TDM(QObject* parent) : QObject(parent)
{
    dtUserSet = new Table(TableFiles::SessionName, TableFiles::UserSet, this);
    dtUserSet->lockRetries = 15;
    dtUserSet->retryWaitMs = 100;
    dsUserSet = dtUserSet->dataSource();
    connect(dsUserSet, &DataSource::stateChanged, this, guarded(this, &TDM::dsUserSetStateChange));
    connect(dsUserSet, &DataSource::dataChanged, this, guarded(this, &TDM::dsUserSetDataChange));
}

void TDM::dsUserSetStateChange()
{
    TSamplerForm* f = SamplerForm;
    if (!f)
        return;
    switch (dtUserSet->state()) {
    case Table::State::Browse:
        f->BitBtn1->setEnabled(false);
        f->BitBtn2->setEnabled(false);
        f->StatusBar1->setPanelText(UserSetStatus::StatePanel, UserSetStatus::browsingPanel());
        break;
    case Table::State::Edit:
    case Table::State::Insert:
        if (dtUserSet->state() == Table::State::Edit) {
            f->StatusBar1->setPanelText(UserSetStatus::StatePanel, UserSetStatus::editPanel());
            f->fcLabel4->setText(UserSetStatus::editHeading());
        } else {
            f->fcLabel4->setText(UserSetStatus::addHeading());
            f->StatusBar1->setPanelText(UserSetStatus::StatePanel, UserSetStatus::addPanel());
        }
        f->BitBtn1->setEnabled(true);
        f->BitBtn2->setEnabled(true);
        f->StatusBar1->setPanelText(UserSetStatus::ChangePanel, UserSetStatus::modifiedPanel());
        break;
    case Table::State::Inactive:
        break;
    }
}

void TDM::dsUserSetDataChange(const QString& Field)
{
    Q_UNUSED(Field);
    TSamplerForm* f = SamplerForm;
    if (!f || !dtUserSet->isOpen())
        return;
    using namespace ItemRecord;
    if (dtUserSet->state() == Table::State::Browse) {
        const qint64 id = dtUserSet->fieldByName(Q_ID).asInteger();
        f->fcLabel4->setText(UserSetStatus::idHeading(id));
        f->StatusBar1->setPanelText(UserSetStatus::IdPanel, UserSetStatus::idPanel(id));
        f->StatusBar1->setPanelText(UserSetStatus::CountPanel,
                                    UserSetStatus::countPanel(dtUserSet->recordCount()));
        const auto section = dtUserSet->fieldByName(Q_SECT);
        const int row =
            UserSetStatus::sectionRow(section.asInteger(), section.isNull(), f->ListBox1->count());
        const bool multiple = dtUserSet->fieldByName(Q_TYPE).asBoolean();
        f->ShowTypeAndSection(UserSetStatus::typeIndex(multiple), row);
    }
    if (dtUserSet->recordCount() == 0) {
        f->EditAct->setEnabled(false);
        f->DelAct->setEnabled(false);
        f->fcLabel4->setText(UserSetStatus::emptyHeading());
        f->StatusBar1->setPanelText(UserSetStatus::IdPanel, UserSetStatus::emptyPanel());
    }
}
