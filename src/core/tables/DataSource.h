#pragma once

#include <QObject>

// The notifications of one table to the controls that show it.
class DataSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // fieldName is empty for a change of record (a move, a post, a cancel),
    // and names the field when one field of the current record changed.
    void dataChanged(const QString& fieldName);
    void stateChanged();
};
