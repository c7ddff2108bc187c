#pragma once

#include "core/sampler/UserSetView.h"

#include <QObject>
#include <QString>

class Table;
class DataSource;

// The data module of the test sampler: its own component over the user set.
// It follows the set's state and current record and emits what the sampler
// window shows about them (viewChanged); it knows no window. Opens nothing
// when created.
class TDM : public QObject
{
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);

    Table* dtUserSet = nullptr;
    DataSource* dsUserSet = nullptr;

    // The view after a change of state (browse, edit, insert).
    UserSetView stateView() const;
    // The view of the current record (and of an empty set).
    UserSetView recordView();

    void dsUserSetStateChange();
    void dsUserSetDataChange(const QString& Field);

signals:
    void viewChanged(const UserSetView& view);
};
