#pragma once

#include <QCheckBox>

class FieldDataLink;
class Table;

// A check box bound to a field of a table's current record: ticked when the
// field holds the checked value ("True" unless set otherwise). A click writes
// the checked or unchecked value at once (a browsing record goes into edit
// state). Clicks do nothing while there is no record.
class DBCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit DBCheckBox(const QString& text = QString(), QWidget* parent = nullptr);

    void setField(Table* table, const QString& fieldName);
    FieldDataLink* dataLink() const { return m_link; }
    void setValues(const QString& checked, const QString& unchecked);
    QString valueChecked() const { return m_checked; }
    QString valueUnchecked() const { return m_unchecked; }

protected:
    void nextCheckState() override;

private:
    void refresh();

    FieldDataLink* m_link;
    QString m_checked = QStringLiteral("True");
    QString m_unchecked = QStringLiteral("False");
    bool m_writing = false;
};
