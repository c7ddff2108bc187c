#include "core/tables/Field.h"

#include "core/tables/Table.h"
#include "core/tables/TableError.h"

QString Field::name() const
{
    return m_table->schema().fields.at(m_index).name;
}

FieldKind Field::kind() const
{
    return m_table->schema().fields.at(m_index).kind;
}

QVariant Field::value() const
{
    return m_table->fieldValue(m_index);
}

bool Field::isNull() const
{
    return value().isNull();
}

qint64 Field::integerOf(const QVariant& v)
{
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        if (!ok)
            throw TableError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
        return n;
    }
    return v.toLongLong();
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    if (v.isNull())
        return false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || s.isEmpty())
            return false;
        throw TableError(QStringLiteral("'%1' is not a valid boolean value").arg(s));
    }
    return v.toLongLong() != 0;
}

bool Field::booleanOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString)
        return v.toString().trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
               v.toString().trimmed() == QLatin1String("1");
    return !v.isNull() && v.toLongLong() != 0;
}

QString Field::asString() const
{
    const QVariant v = value();
    if (v.isNull())
        return {};
    if (kind() == FieldKind::Boolean)
        return v.toLongLong() != 0 ? QStringLiteral("True") : QStringLiteral("False");
    return v.toString();
}

void Field::setValue(const QVariant& value)
{
    if (value.isNull()) {
        m_table->setFieldValue(m_index, QVariant());
        return;
    }
    switch (kind()) {
    case FieldKind::Integer:
        if (value.typeId() == QMetaType::QString) {
            setAsString(value.toString());
            return;
        }
        m_table->setFieldValue(m_index, QVariant(value.toLongLong()));
        return;
    case FieldKind::Boolean:
        if (value.typeId() == QMetaType::QString) {
            setAsString(value.toString());
            return;
        }
        m_table->setFieldValue(m_index, QVariant(qint64(value.toBool() ? 1 : 0)));
        return;
    case FieldKind::Text:
    case FieldKind::Memo:
        m_table->setFieldValue(m_index, QVariant(value.toString()));
        return;
    }
}

void Field::setAsInteger(qint64 value)
{
    setValue(QVariant(value));
}

void Field::setAsBoolean(bool value)
{
    setValue(QVariant(value));
}

void Field::setAsString(const QString& value)
{
    switch (kind()) {
    case FieldKind::Integer: {
        if (value.trimmed().isEmpty()) {
            clear();
            return;
        }
        bool ok = false;
        const qint64 n = value.trimmed().toLongLong(&ok);
        if (!ok)
            throw TableError(QStringLiteral("'%1' is not a valid integer value").arg(value));
        m_table->setFieldValue(m_index, QVariant(n));
        return;
    }
    case FieldKind::Boolean: {
        const QString s = value.trimmed();
        if (s.isEmpty()) {
            clear();
        } else if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
            m_table->setFieldValue(m_index, QVariant(qint64(1)));
        } else if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
            m_table->setFieldValue(m_index, QVariant(qint64(0)));
        } else {
            throw TableError(QStringLiteral("'%1' is not a valid boolean value").arg(value));
        }
        return;
    }
    case FieldKind::Text:
    case FieldKind::Memo:
        m_table->setFieldValue(m_index, QVariant(value));
        return;
    }
}

void Field::clear()
{
    m_table->setFieldValue(m_index, QVariant());
}
