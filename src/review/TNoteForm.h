#pragma once

#include "NoteLabel.h"
#include "tables/Table.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class ShadedLabel;

// The candidate's note on the current item. The note box is bound to the
// note field of the current record of the current exam set: it follows every
// move of that table, and typing edits the record. "Save Note" stores the
// note in the current exam set and in the bank item the exam item was copied
// from, so it comes back in every later exam with that item. Closing the
// window in any way drops what was not saved.
class TNoteForm : public QDialog
{
    Q_OBJECT
public:
    explicit TNoteForm(QWidget* parent = nullptr);

    // Binds the note box to the table's current record (the exam window's
    // current exam set; done at creation when the exam window exists).
    void bindCurrentSet(Table* table);
    Table* boundTable() const { return m_table; }

    void DBMemo1Change();
    void Button1Click(); // Save Note
    void Button2Click(); // Cancel
    void Button3Click(); // Exit

    ShadedLabel* fcLabel1 = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* DBMemo1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

public slots:
    void done(int result) override; // every closing runs FormClose first

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormClose();
    void tableDataChanged(const QString& fieldName);
    void tableStateChanged();
    void memoTextChanged();
    void loadMemo();
    void setButtonsEnabled(bool enabled);

    QPointer<Table> m_table;
    QList<QMetaObject::Connection> m_links;
    bool m_loading = false; // the box is being filled from the record
    bool m_writing = false; // the record is being written from the box
};

extern TNoteForm* NoteForm;
