#include "core/tables/Table.h"

#include "core/tables/Session.h"
#include "core/tables/StorageError.h"
#include "core/tables/TableError.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <sqlcipher/sqlite3.h>

namespace {
QString quoted(const QString& identifier)
{
    return QLatin1Char('"') + identifier + QLatin1Char('"');
}

QByteArray keyOfSession(const QString& sessionName, const QString& tableName)
{
    Session* session = Session::find(sessionName);
    if (!session)
        throw TableError(
            QStringLiteral("Cannot open table %1: session %2 is not active").arg(tableName, sessionName));
    if (!session->hasPassword())
        throw TableError(
            QStringLiteral("Cannot open table %1: no table password is registered with session %2")
                .arg(tableName, sessionName));
    return session->rawKey();
}
} // namespace

Table::Table(const QString& sessionName, const QString& tableName, QObject* parent)
    : QObject(parent), m_sessionName(sessionName), m_tableName(tableName), m_source(new DataSource(this))
{
}

Table::~Table()
{
    try {
        close();
    } catch (...) {
        // A destructor must not throw; the table file stays consistent anyway.
    }
}

void Table::createFile(const QString& path, const QString& sessionName, const TableSchema& schema,
                       TableKind kind)
{
    Database db;
    db.create(path, keyOfSession(sessionName, QFileInfo(path).fileName()), schema, kind);
}

void Table::setTableName(const QString& name)
{
    if (isOpen())
        throw TableError(QStringLiteral("Cannot rename table %1 while it is open").arg(m_tableName));
    m_tableName = name;
}

QString Table::resolvedPath() const
{
    return QDir::current().absoluteFilePath(m_tableName);
}

void Table::checkOpen(const char* operation) const
{
    if (!isOpen())
        throw TableError(
            QStringLiteral("Cannot %1: table %2 is closed").arg(QLatin1String(operation), m_tableName));
}

void Table::checkWritable() const
{
    if (m_readOnly)
        throw TableError(QStringLiteral("Table %1 is read-only: it is never changed").arg(m_tableName),
                         TableError::Kind::ReadOnly);
}

void Table::writeFailed()
{
    // The engine rolls a whole transaction back by itself on some failures
    // (a full disk among them). Then what this table shows is set back to
    // what the file holds, and a later rollback() has nothing left to undo.
    if (m_inTransaction && sqlite3_get_autocommit(m_db.handle())) {
        m_inTransaction = false;
        const qint64 current = bookmark();
        m_state = State::Browse;
        loadKeys();
        auto it = std::lower_bound(m_keys.begin(), m_keys.end(), current);
        const int viewIndex =
            it != m_keys.end() && *it == current ? viewIndexOfKeyIndex(int(it - m_keys.begin())) : -1;
        moveTo(viewIndex >= 0 ? viewIndex : (m_view.empty() ? -1 : 0));
        m_eof = m_bof = m_view.empty();
        notifyState();
        notifyData();
    }
}

// ---- open and close --------------------------------------------------------

void Table::open()
{
    if (isOpen())
        return;
    const QByteArray key = keyOfSession(m_sessionName, m_tableName);
    const QString path = resolvedPath();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw TableError(StorageError::notAFileText(path), TableError::Kind::NotAFile);
    if (!info.exists())
        throw TableError(QStringLiteral("Table does not exist: %1").arg(m_tableName),
                         TableError::Kind::Missing);
    // Shipped data is read where nobody may write, and nobody changes it:
    // no lock file.
    if (!m_readOnly)
        m_lock.acquire(path, m_exclusive, lockRetries, retryWaitMs);
    try {
        m_db.open(path, key, m_readOnly ? Database::Access::ReadOnly : Database::Access::ReadWrite, m_kind);
        m_schema = m_db.readSchema();
        m_fieldNames.clear();
        for (const FieldDef& f : m_schema.fields)
            m_fieldNames << f.name;
        FilterExpression parsed;
        QString error;
        if (!FilterExpression::parse(m_filterText, m_fieldNames, &parsed, &error))
            throw TableError(error);
        m_activeFilter = m_filtered ? parsed : FilterExpression();
        prepareStatements();
        loadKeys();
    } catch (...) {
        m_selectRow = Statement();
        m_insertWithKey = Statement();
        m_insertAutoKey = Statement();
        m_db.close();
        m_lock.release();
        throw;
    }
    m_state = State::Browse;
    m_buffer = QVector<QVariant>(m_schema.fields.size());
    moveTo(m_view.empty() ? -1 : 0);
    m_bof = true;
    m_eof = m_view.empty();
    notifyState();
    notifyData();
}

void Table::prepareStatements()
{
    // readSchema() refuses a file without fields: the first is the key.
    Q_ASSERT(!m_schema.fields.isEmpty());
    const QString keyName = quoted(m_schema.fields.first().name);
    m_selectRow = Statement(m_db.handle(), QStringLiteral("SELECT * FROM items WHERE %1 = ?").arg(keyName));
    QStringList all, allMarks, rest, restMarks;
    for (int i = 0; i < m_schema.fields.size(); ++i) {
        all << quoted(m_schema.fields.at(i).name);
        allMarks << QStringLiteral("?");
        if (i > 0) {
            rest << quoted(m_schema.fields.at(i).name);
            restMarks << QStringLiteral("?");
        }
    }
    m_insertWithKey =
        Statement(m_db.handle(), QStringLiteral("INSERT INTO items (%1) VALUES (%2)")
                                     .arg(all.join(QLatin1Char(',')), allMarks.join(QLatin1Char(','))));
    if (!rest.isEmpty())
        m_insertAutoKey =
            Statement(m_db.handle(), QStringLiteral("INSERT INTO items (%1) VALUES (%2)")
                                         .arg(rest.join(QLatin1Char(',')), restMarks.join(QLatin1Char(','))));
}

void Table::close()
{
    if (!isOpen())
        return;
    if (m_inTransaction) {
        if (!sqlite3_get_autocommit(m_db.handle())) {
            try {
                m_db.exec(QStringLiteral("ROLLBACK"));
            } catch (const TableError&) {
            }
        }
        m_inTransaction = false;
    }
    m_selectRow = Statement();
    m_insertWithKey = Statement();
    m_insertAutoKey = Statement();
    m_db.close();
    m_lock.release();
    m_state = State::Inactive;
    m_keys.clear();
    m_view.clear();
    m_filterValues.clear();
    m_filterNull.clear();
    m_cur = -1;
    m_eof = m_bof = true;
    m_buffer.clear();
    notifyState();
}

void Table::setKind(TableKind kind)
{
    if (isOpen())
        throw TableError(
            QStringLiteral("Cannot change the kind of table %1 while it is open").arg(m_tableName));
    m_kind = kind;
}

void Table::setReadOnly(bool readOnly)
{
    if (isOpen())
        throw TableError(
            QStringLiteral("Cannot make table %1 read-only or writable while it is open").arg(m_tableName));
    m_readOnly = readOnly;
}

void Table::setExclusive(bool exclusive)
{
    if (isOpen())
        throw TableError(
            QStringLiteral("Cannot change the exclusive use of table %1 while it is open").arg(m_tableName));
    m_exclusive = exclusive;
}

// ---- filter ------------------------------------------------------------------

FilterExpression Table::parsedFilter() const
{
    FilterExpression parsed;
    QString error;
    if (!FilterExpression::parse(m_filterText, m_fieldNames, &parsed, &error))
        throw TableError(error);
    return parsed;
}

void Table::setFilter(const QString& expression)
{
    // While closed the field names are not known yet: check the form now and
    // the field at open.
    QString error;
    FilterExpression parsed;
    const QStringList names = isOpen() ? m_fieldNames : QStringList();
    if (!FilterExpression::parse(expression, names, &parsed, &error))
        throw TableError(error);
    if (expression == m_filterText)
        return;
    m_filterText = expression;
    if (isOpen() && m_filtered) {
        checkBrowseMode();
        m_activeFilter = parsed;
        loadKeys();
        first();
    }
}

void Table::setFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    m_filtered = filtered;
    if (isOpen()) {
        checkBrowseMode();
        m_activeFilter = filtered ? parsedFilter() : FilterExpression();
        loadKeys();
        first();
    }
}

// ---- keys and view -----------------------------------------------------------

void Table::loadKeys()
{
    m_keys.clear();
    m_filterValues.clear();
    m_filterNull.clear();
    const QString keyName = quoted(m_schema.fields.first().name);
    if (m_activeFilter.isEmpty()) {
        Statement st(m_db.handle(), QStringLiteral("SELECT %1 FROM items ORDER BY %1").arg(keyName));
        while (st.step())
            m_keys.push_back(st.int64(0));
    } else {
        // The field name comes from the table's own schema, never from the
        // filter text.
        Q_ASSERT(m_activeFilter.fieldIndex() >= 0 && m_activeFilter.fieldIndex() < m_schema.fields.size());
        const QString fieldName = quoted(m_schema.fields.at(m_activeFilter.fieldIndex()).name);
        Statement st(m_db.handle(),
                     QStringLiteral("SELECT %1, %2 FROM items ORDER BY %1").arg(keyName, fieldName));
        while (st.step()) {
            m_keys.push_back(st.int64(0));
            const bool null = st.isNull(1);
            m_filterNull.push_back(null ? 1 : 0);
            m_filterValues.push_back(null ? 0 : st.int64(1));
        }
    }
    rebuildView();
}

bool Table::passes(int keyIndex) const
{
    if (m_activeFilter.isEmpty())
        return true;
    Q_ASSERT(keyIndex >= 0 && size_t(keyIndex) < m_filterValues.size());
    return m_activeFilter.matches(m_filterNull[keyIndex] != 0, m_filterValues[keyIndex]);
}

void Table::rebuildView()
{
    // While filtering, the filter field is held beside every key.
    Q_ASSERT(m_activeFilter.isEmpty() ||
             (m_filterValues.size() == m_keys.size() && m_filterNull.size() == m_keys.size()));
    m_view.clear();
    m_view.reserve(m_keys.size());
    for (int i = 0; i < int(m_keys.size()); ++i) {
        if (passes(i))
            m_view.push_back(i);
    }
}

int Table::viewIndexOfKeyIndex(int keyIndex) const
{
    auto it = std::lower_bound(m_view.begin(), m_view.end(), keyIndex);
    if (it == m_view.end() || *it != keyIndex)
        return -1;
    return int(it - m_view.begin());
}

void Table::loadCurrent()
{
    m_buffer = QVector<QVariant>(m_schema.fields.size());
    if (m_cur < 0)
        return;
    Q_ASSERT(m_cur < int(m_view.size()) && m_view[m_cur] < int(m_keys.size()));
    m_selectRow.reset();
    m_selectRow.bind(1, QVariant(m_keys[m_view[m_cur]]));
    if (m_selectRow.step()) {
        for (int i = 0; i < m_buffer.size(); ++i)
            m_buffer[i] = m_selectRow.value(i);
    }
    m_selectRow.reset();
}

void Table::moveTo(int viewIndex)
{
    Q_ASSERT(viewIndex >= -1 && viewIndex < int(m_view.size()));
    m_cur = viewIndex;
    loadCurrent();
}

// ---- navigation --------------------------------------------------------------

void Table::checkBrowseMode()
{
    if (m_state == State::Edit || m_state == State::Insert)
        post();
}

void Table::first()
{
    checkOpen("move to the first record");
    checkBrowseMode();
    moveTo(m_view.empty() ? -1 : 0);
    m_bof = true;
    m_eof = m_view.empty();
    notifyData();
}

void Table::last()
{
    checkOpen("move to the last record");
    checkBrowseMode();
    moveTo(m_view.empty() ? -1 : int(m_view.size()) - 1);
    m_eof = true;
    m_bof = m_view.empty();
    notifyData();
}

void Table::next()
{
    checkOpen("move to the next record");
    checkBrowseMode();
    if (m_cur + 1 < int(m_view.size())) {
        moveTo(m_cur + 1);
        m_eof = false;
        m_bof = false;
        notifyData();
    } else {
        m_eof = true;
    }
}

void Table::prior()
{
    checkOpen("move to the previous record");
    checkBrowseMode();
    if (m_cur > 0) {
        moveTo(m_cur - 1);
        m_bof = false;
        m_eof = false;
        notifyData();
    } else {
        m_bof = true;
    }
}

int Table::recNo() const
{
    if (!isOpen())
        return 0;
    if (m_state == State::Insert)
        return m_insertRecNo;
    if (m_cur < 0)
        return 0;
    return m_view[m_cur] + 1;
}

void Table::setRecNo(int recNo)
{
    checkOpen("set the record number");
    if (recNo == this->recNo())
        return;
    checkBrowseMode();
    if (recNo < 1 || recNo > int(m_keys.size()))
        throw TableError(QStringLiteral("Record %1 of table %2 does not exist").arg(recNo).arg(m_tableName));
    const int viewIndex = viewIndexOfKeyIndex(recNo - 1);
    if (viewIndex < 0)
        throw TableError(
            QStringLiteral("Record %1 of table %2 is outside the filter").arg(recNo).arg(m_tableName));
    moveTo(viewIndex);
    m_eof = m_bof = false;
    notifyData();
}

int Table::recordCount() const
{
    if (!isOpen())
        return 0;
    return int(m_view.size()) + (m_state == State::Insert ? 1 : 0);
}

bool Table::findKey(qint64 key)
{
    checkOpen("search a key");
    checkBrowseMode();
    auto it = std::lower_bound(m_keys.begin(), m_keys.end(), key);
    if (it == m_keys.end() || *it != key)
        return false;
    const int viewIndex = viewIndexOfKeyIndex(int(it - m_keys.begin()));
    if (viewIndex < 0)
        return false;
    moveTo(viewIndex);
    m_eof = m_bof = false;
    notifyData();
    return true;
}

std::vector<QVariant> Table::fieldInView(const QString& name)
{
    return std::move(fieldsInView({name}).front());
}

std::vector<std::vector<QVariant>> Table::fieldsInView(const QStringList& names)
{
    checkOpen("walk a field");
    checkBrowseMode();
    QStringList columns{quoted(m_schema.fields.first().name)};
    for (const QString& name : names) {
        int index = -1;
        for (int i = 0; i < m_schema.fields.size() && index < 0; ++i) {
            if (m_schema.fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
                index = i;
        }
        if (index < 0)
            throw TableError(QStringLiteral("%1: Field '%2' not found").arg(m_tableName, name));
        columns << quoted(m_schema.fields.at(index).name);
    }
    std::vector<std::vector<QVariant>> all(std::size_t(names.size()));
    for (std::vector<QVariant>& values : all)
        values.reserve(m_view.size());
    // The rows come in key order, as m_keys holds them; the view picks
    // the ones that pass the filter. A row another process added since the
    // keys were loaded is not in m_keys and is skipped, as the cursor would.
    Statement st(m_db.handle(), QStringLiteral("SELECT %1 FROM items ORDER BY %2")
                                    .arg(columns.join(QLatin1String(", ")), columns.first()));
    size_t next = 0;
    while (next < m_view.size() && st.step()) {
        const qint64 key = st.int64(0);
        while (next < m_view.size() && m_keys[m_view[next]] < key) {
            for (std::vector<QVariant>& values : all)
                values.emplace_back(); // the record is gone: an empty field, as loadCurrent gives
            ++next;
        }
        if (next < m_view.size() && m_keys[m_view[next]] == key) {
            for (std::size_t f = 0; f < all.size(); ++f)
                all[f].push_back(st.value(int(f) + 1));
            ++next;
        }
    }
    for (std::vector<QVariant>& values : all)
        values.resize(m_view.size());
    return all;
}

qint64 Table::bookmark() const
{
    if (!isOpen() || m_cur < 0)
        return -1;
    return m_keys[m_view[m_cur]];
}

void Table::gotoBookmark(qint64 bookmark)
{
    if (bookmark < 0)
        return;
    if (!findKey(bookmark))
        throw TableError(QStringLiteral("Record not found in table %1").arg(m_tableName));
}

// ---- changes -----------------------------------------------------------------

void Table::emptyTable()
{
    checkWritable();
    if (isOpen()) {
        if (!m_exclusive)
            throw TableError(
                QStringLiteral("Table %1 must be opened exclusively to be emptied").arg(m_tableName));
        checkWritable();
        checkBrowseMode();
        try {
            m_db.exec(QStringLiteral("DELETE FROM items"));
        } catch (const TableError&) {
            writeFailed();
            throw;
        }
        m_keys.clear();
        m_filterValues.clear();
        m_filterNull.clear();
        m_view.clear();
        moveTo(-1);
        m_eof = m_bof = true;
        notifyData();
        return;
    }
    const QByteArray key = keyOfSession(m_sessionName, m_tableName);
    const QString path = resolvedPath();
    if (!QFileInfo(path).isFile())
        throw TableError(QStringLiteral("Table does not exist: %1").arg(m_tableName),
                         TableError::Kind::Missing);
    TableLock lock;
    lock.acquire(path, true, lockRetries, retryWaitMs);
    Database db;
    db.open(path, key, Database::Access::ReadWrite, m_kind);
    db.exec(QStringLiteral("DELETE FROM items"));
}

void Table::append()
{
    checkOpen("append a record");
    checkWritable();
    checkBrowseMode();
    m_insertRecNo = int(m_keys.size()) + 1;
    m_buffer = QVector<QVariant>(m_schema.fields.size());
    m_state = State::Insert;
    m_eof = true;
    notifyState();
    notifyData();
}

void Table::insert()
{
    checkOpen("insert a record");
    checkWritable();
    checkBrowseMode();
    m_insertRecNo = m_cur < 0 ? int(m_keys.size()) + 1 : m_view[m_cur] + 1;
    m_buffer = QVector<QVariant>(m_schema.fields.size());
    m_state = State::Insert;
    notifyState();
    notifyData();
}

void Table::edit()
{
    checkOpen("edit a record");
    checkWritable();
    if (m_state != State::Browse)
        return;
    if (m_cur < 0)
        throw TableError(QStringLiteral("Cannot edit: table %1 has no current record").arg(m_tableName));
    m_state = State::Edit;
    notifyState();
}

void Table::post()
{
    checkOpen("post a record");
    if (m_state == State::Browse)
        return;
    const int keyField = 0;
    if (m_state == State::Insert) {
        const bool explicitKey = !m_buffer[keyField].isNull();
        Statement& st = explicitKey ? m_insertWithKey : m_insertAutoKey;
        st.reset();
        for (int i = explicitKey ? 0 : 1, param = 1; i < m_buffer.size(); ++i, ++param)
            st.bind(param, m_buffer[i]);
        try {
            st.exec();
        } catch (const TableError&) {
            // Nothing of the record was stored; it stays in the buffer.
            st.reset();
            writeFailed();
            throw;
        }
        st.reset();
        const qint64 key =
            explicitKey ? m_buffer[keyField].toLongLong() : sqlite3_last_insert_rowid(m_db.handle());
        auto it = std::lower_bound(m_keys.begin(), m_keys.end(), key);
        const int keyIndex = int(it - m_keys.begin());
        const bool atEnd = it == m_keys.end();
        m_keys.insert(it, key);
        if (!m_activeFilter.isEmpty()) {
            const QVariant& v = m_buffer[m_activeFilter.fieldIndex()];
            m_filterNull.insert(m_filterNull.begin() + keyIndex, v.isNull() ? 1 : 0);
            m_filterValues.insert(m_filterValues.begin() + keyIndex, v.isNull() ? 0 : v.toLongLong());
        }
        if (atEnd) {
            if (passes(keyIndex))
                m_view.push_back(keyIndex);
        } else {
            rebuildView();
        }
        m_state = State::Browse;
        const int viewIndex = viewIndexOfKeyIndex(keyIndex);
        if (viewIndex >= 0) {
            // The buffer already holds what was stored; only the key is new.
            m_cur = viewIndex;
            m_buffer[keyField] = QVariant(key);
        } else {
            moveTo(std::min(m_cur, int(m_view.size()) - 1));
        }
    } else {
        QStringList sets;
        for (int i = 1; i < m_schema.fields.size(); ++i)
            sets << quoted(m_schema.fields.at(i).name) + QStringLiteral(" = ?");
        Statement st(m_db.handle(),
                     QStringLiteral("UPDATE items SET %1 WHERE %2 = ?")
                         .arg(sets.join(QLatin1Char(',')), quoted(m_schema.fields.first().name)));
        for (int i = 1; i < m_buffer.size(); ++i)
            st.bind(i, m_buffer[i]);
        // edit() refuses a table without a current record, and every move
        // posts the edit first.
        Q_ASSERT_X(m_cur >= 0 && m_cur < int(m_view.size()), "Table::post", "the edited record is current");
        const int keyIndex = m_view[m_cur];
        st.bind(m_buffer.size(), QVariant(m_keys[keyIndex]));
        try {
            st.exec();
        } catch (const TableError&) {
            writeFailed();
            throw;
        }
        if (!m_activeFilter.isEmpty()) {
            const QVariant& v = m_buffer[m_activeFilter.fieldIndex()];
            m_filterNull[keyIndex] = v.isNull() ? 1 : 0;
            m_filterValues[keyIndex] = v.isNull() ? 0 : v.toLongLong();
            rebuildView();
            const int viewIndex = viewIndexOfKeyIndex(keyIndex);
            m_cur = viewIndex >= 0 ? viewIndex : std::min(m_cur, int(m_view.size()) - 1);
        }
        m_state = State::Browse;
        loadCurrent();
    }
    m_eof = m_bof = m_view.empty();
    notifyState();
    notifyData();
}

void Table::cancel()
{
    if (!isOpen() || m_state == State::Browse)
        return;
    m_state = State::Browse;
    loadCurrent();
    notifyState();
    notifyData();
}

void Table::deleteRecord()
{
    checkOpen("delete a record");
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    checkWritable();
    if (m_cur < 0)
        throw TableError(QStringLiteral("Cannot delete: table %1 has no current record").arg(m_tableName));
    m_state = State::Browse;
    const int keyIndex = m_view[m_cur];
    Statement st(m_db.handle(),
                 QStringLiteral("DELETE FROM items WHERE %1 = ?").arg(quoted(m_schema.fields.first().name)));
    st.bind(1, QVariant(m_keys[keyIndex]));
    try {
        st.exec();
    } catch (const TableError&) {
        writeFailed();
        throw;
    }
    m_keys.erase(m_keys.begin() + keyIndex);
    if (!m_filterValues.empty()) {
        m_filterValues.erase(m_filterValues.begin() + keyIndex);
        m_filterNull.erase(m_filterNull.begin() + keyIndex);
    }
    const int oldCur = m_cur;
    rebuildView();
    moveTo(m_view.empty() ? -1 : std::min(oldCur, int(m_view.size()) - 1));
    m_eof = m_bof = m_view.empty();
    notifyState();
    notifyData();
}

// ---- fields ------------------------------------------------------------------

bool Table::hasField(const QString& name) const
{
    for (const FieldDef& f : m_schema.fields) {
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

Field Table::fieldByName(const QString& name)
{
    checkOpen("read a field");
    for (int i = 0; i < m_schema.fields.size(); ++i) {
        if (m_schema.fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return Field(this, i);
    }
    throw TableError(QStringLiteral("%1: Field '%2' not found").arg(m_tableName, name));
}

QVariant Table::fieldValue(int index) const
{
    checkOpen("read a field");
    return m_buffer.value(index);
}

void Table::setFieldValue(int index, const QVariant& value)
{
    checkOpen("write a field");
    if (m_state != State::Edit && m_state != State::Insert)
        throw TableError(QStringLiteral("Table %1 is not in edit or insert mode").arg(m_tableName));
    // A Field comes from fieldByName() on this schema; the buffer holds one value per field.
    Q_ASSERT(index >= 0 && index < m_buffer.size());
    m_buffer[index] = value;
    notifyData(m_schema.fields.at(index).name);
}

// ---- notifications and transactions ------------------------------------------

void Table::disableControls()
{
    ++m_disableCount;
}

void Table::enableControls()
{
    Q_ASSERT_X(m_disableCount > 0, "Table::enableControls", "called without a disableControls() before it");
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0) {
        const bool data = m_pendingData, state = m_pendingState;
        m_pendingData = m_pendingState = false;
        if (state)
            emit m_source->stateChanged();
        if (data)
            emit m_source->dataChanged(QString());
    }
}

void Table::notifyData(const QString& field)
{
    if (m_disableCount > 0) {
        m_pendingData = true;
        return;
    }
    emit m_source->dataChanged(field);
}

void Table::notifyState()
{
    if (m_disableCount > 0) {
        m_pendingState = true;
        return;
    }
    emit m_source->stateChanged();
}

void Table::startTransaction()
{
    checkOpen("start a transaction");
    checkWritable();
    if (m_inTransaction)
        return;
    m_db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    m_inTransaction = true;
}

void Table::commit()
{
    if (!m_inTransaction)
        return;
    try {
        m_db.exec(QStringLiteral("COMMIT"));
    } catch (const TableError&) {
        // Either the transaction is still open (rollback() undoes it) or
        // the engine has rolled it back already.
        writeFailed();
        throw;
    }
    m_inTransaction = false;
}

void Table::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    // After a failure the engine may have rolled back by itself; a second
    // ROLLBACK would only hide that failure behind "no transaction is active".
    if (!sqlite3_get_autocommit(m_db.handle()))
        m_db.exec(QStringLiteral("ROLLBACK"));
    loadKeys();
    moveTo(m_view.empty() ? -1 : 0);
    notifyData();
}
