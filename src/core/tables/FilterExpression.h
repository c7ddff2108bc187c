#pragma once

#include <QString>
#include <QStringList>

// A table filter: a field name, "=" or "<>", and an integer, without blanks
// ("Q_EXAM_N=3", "Q_EXAM_N<>0"). The empty text is no filter.
class FilterExpression
{
public:
    enum class Op { None, Equal, NotEqual };

    // Parses text against the table's field names (matched without regard to
    // case); with no names, any plain name passes and fieldIndex() is -1. Returns false with a message
    // quoting the text when it is not a valid filter.
    static bool parse(const QString& text, const QStringList& fieldNames, FilterExpression* out,
                      QString* error);

    bool isEmpty() const { return m_op == Op::None; }
    int fieldIndex() const { return m_field; }
    Op op() const { return m_op; }
    qint64 value() const { return m_value; }

    // An empty field passes neither "=" nor "<>".
    bool matches(bool isNull, qint64 fieldValue) const;

private:
    Op m_op = Op::None;
    int m_field = -1;
    qint64 m_value = 0;
};
