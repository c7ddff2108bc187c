#pragma once

#include <QObject>
#include <QString>

class Table;
class DataSource;

// The data module of the test sampler: its own component over the user set,
// and the handlers that report the set's state and current record to the
// sampler window. Opens nothing when created.
class TDM : public QObject
{
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);

    Table* dtUserSet = nullptr;
    DataSource* dsUserSet = nullptr;

    void dsUserSetStateChange();
    void dsUserSetDataChange(const QString& Field);
};

extern TDM* DM;
