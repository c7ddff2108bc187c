#include "core/tables/FilterExpression.h"

bool FilterExpression::parse(const QString& text, const QStringList& fieldNames, FilterExpression* out,
                             QString* error)
{
    Q_ASSERT(out);
    *out = FilterExpression();
    if (text.isEmpty())
        return true;
    auto refuse = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("Invalid filter \"%1\": %2").arg(text, why);
        return false;
    };
    int opPos = text.indexOf(QLatin1String("<>"));
    int opLen = 2;
    Op op = Op::NotEqual;
    if (opPos < 0) {
        opPos = text.indexOf(QLatin1Char('='));
        opLen = 1;
        op = Op::Equal;
    }
    if (opPos < 0)
        return refuse(QStringLiteral("expected \"=\" or \"<>\""));
    const QString name = text.left(opPos);
    const QString number = text.mid(opPos + opLen);
    int index = -1;
    for (int i = 0; i < fieldNames.size(); ++i) {
        if (fieldNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
            index = i;
    }
    if (fieldNames.isEmpty()) {
        // No table at hand: accept any plain field name; the table checks it.
        bool plain = !name.isEmpty();
        for (QChar c : name)
            plain = plain && (c == QLatin1Char('_') || (c.unicode() < 128 && c.isLetterOrNumber()));
        if (!plain)
            return refuse(QStringLiteral("\"%1\" is not a field name").arg(name));
    } else if (index < 0) {
        return refuse(QStringLiteral("unknown field \"%1\"").arg(name));
    }
    bool ok = false;
    // Digits with an optional leading minus; no blanks, no plus sign.
    static const auto isInteger = [](const QString& s) {
        if (s.isEmpty())
            return false;
        int start = s.startsWith(QLatin1Char('-')) ? 1 : 0;
        if (start == s.size())
            return false;
        for (int i = start; i < s.size(); ++i) {
            if (!s.at(i).isDigit() || s.at(i).unicode() > '9')
                return false;
        }
        return true;
    };
    const qint64 value = isInteger(number) ? number.toLongLong(&ok) : 0;
    if (!ok)
        return refuse(QStringLiteral("\"%1\" is not an integer").arg(number));
    out->m_op = op;
    out->m_field = index;
    out->m_value = value;
    return true;
}

bool FilterExpression::matches(bool isNull, qint64 fieldValue) const
{
    switch (m_op) {
    case Op::None:
        return true;
    case Op::Equal:
        return !isNull && fieldValue == m_value;
    case Op::NotEqual:
        return !isNull && fieldValue != m_value;
    }
    return true;
}
