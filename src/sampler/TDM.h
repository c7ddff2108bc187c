#pragma once

#include <QObject>

class Table;
class DataSource;

// The data module of the test sampler: its own component over the user set.
class TDM : public QObject
{
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);
    Table* dtUserSet = nullptr;
    DataSource* dsUserSet = nullptr;
};

extern TDM* DM;
