#include "TDM.h"

#include "store/TableFiles.h"
#include "tables/Table.h"

TDM* DM = nullptr;

TDM::TDM(QObject* parent) : QObject(parent)
{
    dtUserSet = new Table(TableFiles::SessionName, TableFiles::UserSet, this);
    dsUserSet = dtUserSet->dataSource();
}
