#pragma once

#include "core/tables/DataSource.h"
#include "core/tables/Database.h"
#include "core/tables/Field.h"
#include "core/tables/FieldDef.h"
#include "core/tables/FilterExpression.h"
#include "core/tables/Statement.h"
#include "core/tables/TableLock.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>
#include <memory>
#include <vector>

// A table component over one table file of a storage session: a cursor over
// the records in primary-key order, an optional filter, 1-based record numbers
// over the whole table, and edit/insert/post/cancel with a record buffer.
// Every change that a reader can see is reported through dataSource().
// Errors are raised as TableError.
class Table : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    Table(const QString& sessionName, const QString& tableName, QObject* parent = nullptr);
    ~Table() override;

    // Creates an empty table file of that kind keyed with the session's
    // registered password, whole or not at all (see Database::create); an
    // existing file is replaced.
    static void createFile(const QString& path, const QString& sessionName, const TableSchema& schema,
                           TableKind kind = TableKind::Unmarked);

    QString tableName() const { return m_tableName; }
    QString sessionName() const { return m_sessionName; }
    // The table's file: its name taken relative to the current folder.
    QString filePath() const { return resolvedPath(); }
    void setTableName(const QString& name);
    DataSource* dataSource() const { return m_source; }

    int lockRetries = 15;
    int retryWaitMs = 100;

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    void setExclusive(bool exclusive);
    bool exclusive() const { return m_exclusive; }
    // Set before open(). A table of another kind is refused at open with a
    // text that says what the file is; Unmarked (the default) takes any.
    void setKind(TableKind kind);
    TableKind kind() const { return m_kind; }
    // Set before open(). A read-only table is shipped data: read as the file
    // lies, without lock file, journal or any write; every change is refused.
    void setReadOnly(bool readOnly);
    bool readOnly() const { return m_readOnly; }

    void setFilter(const QString& expression);
    QString filter() const { return m_filterText; }
    void setFiltered(bool filtered);
    bool filtered() const { return m_filtered; }

    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }

    int recNo() const;
    void setRecNo(int recNo);
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }

    void emptyTable();
    bool findKey(qint64 key);

    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void deleteRecord();

    Field fieldByName(const QString& name);
    bool hasField(const QString& name) const;
    const TableSchema& schema() const { return m_schema; }

    // A walk that reads one field, not whole records: the value that
    // fieldByName(name).value() would give at each record a first()..next()
    // walk visits (the filter applied, a pending change posted first), in
    // that order, from one query. The cursor stays; nobody is notified.
    std::vector<QVariant> fieldInView(const QString& name);
    // The same for several fields from one query: one list per name, in
    // the order given. Cheaper than a walk per field over a large table.
    std::vector<std::vector<QVariant>> fieldsInView(const QStringList& names);

    qint64 bookmark() const; // the current record's key, -1 when there is none
    void gotoBookmark(qint64 bookmark);

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // Groups many posts into one transaction.
    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

private:
    friend class Field;
    QVariant fieldValue(int index) const;
    void setFieldValue(int index, const QVariant& value);

    void checkOpen(const char* operation) const;
    void checkWritable() const;
    void writeFailed();
    void checkBrowseMode();
    QString resolvedPath() const;
    void loadKeys();
    void rebuildView();
    bool passes(int keyIndex) const;
    void loadCurrent();
    void moveTo(int viewIndex);
    int viewIndexOfKeyIndex(int keyIndex) const;
    void notifyData(const QString& field = QString());
    void notifyState();
    void prepareStatements();
    FilterExpression parsedFilter() const;

    QString m_sessionName;
    QString m_tableName;
    DataSource* m_source;

    Database m_db;
    TableLock m_lock;
    TableSchema m_schema;
    QStringList m_fieldNames;
    Statement m_selectRow;
    Statement m_insertWithKey;
    Statement m_insertAutoKey;

    State m_state = State::Inactive;
    bool m_exclusive = false;
    bool m_readOnly = false;
    TableKind m_kind = TableKind::Unmarked;
    QString m_filterText;
    bool m_filtered = false;
    FilterExpression m_activeFilter; // empty unless filtering is on and the table open

    std::vector<qint64> m_keys;         // every key, ascending
    std::vector<qint64> m_filterValues; // the filter field per key, while filtering
    std::vector<char> m_filterNull;
    std::vector<int> m_view; // indexes into m_keys of the records that pass
    int m_cur = -1;          // index into m_view
    bool m_eof = true;
    bool m_bof = true;

    QVector<QVariant> m_buffer;
    int m_insertRecNo = 0;
    bool m_inTransaction = false;

    int m_disableCount = 0;
    bool m_pendingData = false;
    bool m_pendingState = false;
};
