#include "core/sampler/TDM.h"

#include "core/sampler/UserSetStatus.h"
#include "core/store/CandidateTables.h"
#include "core/store/ItemRecord.h"
#include "core/store/TableFiles.h"
#include "core/tables/Table.h"
#include "core/tables/TableKind.h"

TDM::TDM(QObject* parent) : QObject(parent)
{
    dtUserSet = new Table(TableFiles::SessionName, CandidateTables::userSetPath(), this);
    dtUserSet->setKind(TableKind::UserSet);
    dtUserSet->lockRetries = 15;
    dtUserSet->retryWaitMs = 100;
    dsUserSet = dtUserSet->dataSource();
    connect(dsUserSet, &DataSource::stateChanged, this, &TDM::dsUserSetStateChange);
    connect(dsUserSet, &DataSource::dataChanged, this, &TDM::dsUserSetDataChange);
}

UserSetView TDM::stateView() const
{
    UserSetView view;
    switch (dtUserSet->state()) {
    case Table::State::Browse:
        view.editing = false;
        view.panels[UserSetStatus::StatePanel] = UserSetStatus::browsingPanel();
        break;
    case Table::State::Edit:
        view.editing = true;
        view.heading = UserSetStatus::editHeading();
        view.panels[UserSetStatus::StatePanel] = UserSetStatus::editPanel();
        view.panels[UserSetStatus::ChangePanel] = UserSetStatus::modifiedPanel();
        break;
    case Table::State::Insert:
        view.editing = true;
        view.heading = UserSetStatus::addHeading();
        view.panels[UserSetStatus::StatePanel] = UserSetStatus::addPanel();
        view.panels[UserSetStatus::ChangePanel] = UserSetStatus::modifiedPanel();
        break;
    case Table::State::Inactive:
        break;
    }
    return view;
}

UserSetView TDM::recordView()
{
    UserSetView view;
    if (!dtUserSet->isOpen())
        return view;
    using namespace ItemRecord;
    if (dtUserSet->state() == Table::State::Browse) {
        const qint64 id = dtUserSet->fieldByName(Q_ID).asInteger();
        view.heading = UserSetStatus::idHeading(id);
        view.panels[UserSetStatus::IdPanel] = UserSetStatus::idPanel(id);
        view.panels[UserSetStatus::CountPanel] = UserSetStatus::countPanel(dtUserSet->recordCount());
        const auto section = dtUserSet->fieldByName(Q_SECT);
        view.record = UserSetView::Record{dtUserSet->fieldByName(Q_TYPE).asBoolean(), section.asInteger(),
                                          section.isNull()};
    }
    if (dtUserSet->recordCount() == 0) {
        view.empty = true;
        view.heading = UserSetStatus::emptyHeading();
        view.panels[UserSetStatus::IdPanel] = UserSetStatus::emptyPanel();
    }
    return view;
}

void TDM::dsUserSetStateChange()
{
    emit viewChanged(stateView());
}

void TDM::dsUserSetDataChange(const QString& Field)
{
    Q_UNUSED(Field);
    if (dtUserSet->isOpen())
        emit viewChanged(recordView());
}
