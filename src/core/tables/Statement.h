#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement with bound parameters. Every failure is kept and
// raised as a TableError carrying SQLite's message.
class Statement
{
public:
    Statement() = default;
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return m_stmt != nullptr; }
    void reset();
    void bind(int index, const QVariant& value); // 1-based; a null QVariant binds NULL
    bool step();                                 // true while a row is available
    void exec();                                 // runs to completion

    int columnCount() const;
    QVariant value(int column) const; // NULL gives a null QVariant
    qint64 int64(int column) const;
    bool isNull(int column) const;

private:
    [[noreturn]] void fail(const QString& what) const;

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};
