#pragma once

#include "core/review/NoteLabel.h"
#include "core/tables/Table.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class ShadedLabel;

// The candidate's note on an item. While the window is closed the note box
// follows the current record of the current exam set. Opening it captures
// that record: from then on the box and "Save Note" belong to that item,
// even if something moves the table under the window (grading, then "View
// Answers"). Typing puts the record into editing; "Save Note" stores the
// note in the current exam set and in the candidate's notes under the bank
// item the exam item was copied from, so it comes back in every later exam
// with that item. Closing the window in any way drops what was not saved.
class TNoteForm : public QDialog
{
    Q_OBJECT
public:
    explicit TNoteForm(QWidget* parent = nullptr);

    // Keeps a note for the bank item of that id; on failure the text says why.
    using BankWriter = std::function<bool(qint64 itemId, const QString& note, QString* error)>;
    // Where a note is written: the exam set (the note box shows its current
    // record), then the candidate's note on the bank item it was copied from.
    void setTables(Table* currentSet, BankWriter saveToBank);
    // Takes the current record as the item of the next opening, headed with
    // the exam's title and the item's ID.
    void captureCurrentItem(const QString& examTitle);

public slots:
    void done(int result) override; // every closing runs FormClose first

protected:
    void showEvent(QShowEvent* event) override;

private:
    void bindCurrentSet(Table* table);

    void DBMemo1Change();
    void Button1Click(); // Save Note
    void Button2Click(); // Cancel
    void Button3Click(); // Exit
    void FormClose();
    void tableDataChanged(const QString& fieldName);
    void tableStateChanged();
    void memoTextChanged();
    void loadMemo();
    void setButtonsEnabled(bool enabled);
    bool onItem() const; // the table stands on the captured record

    ShadedLabel* fcLabel1 = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* DBMemo1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;

    int m_itemRecNo = 0;
    qint64 m_itemId = 0;

    QPointer<Table> m_table;
    BankWriter m_saveToBank;
    QList<QMetaObject::Connection> m_links;
    bool m_loading = false; // the box is being filled from the record
    bool m_writing = false; // the record is being written from the box
};
