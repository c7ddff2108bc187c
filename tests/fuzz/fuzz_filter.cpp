// Fuzzes the table filter parser with some of the bank's field names and with none.
#include "core/tables/FilterExpression.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(const QString& text, const QStringList& names)
{
    FilterExpression filter;
    QString error;
    const bool ok = FilterExpression::parse(text, names, &filter, &error);
    if (ok != error.isEmpty())
        std::abort();
    if (!ok)
        return;
    if (filter.isEmpty() != text.isEmpty())
        std::abort();
    if (!filter.isEmpty() && !names.isEmpty() &&
        (filter.fieldIndex() < 0 || filter.fieldIndex() >= names.size()))
        std::abort();
    // An empty field passes no filter; any value passes exactly one of "=" and "<>".
    if (!filter.isEmpty() && filter.matches(true, filter.value()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QStringList names = {QStringLiteral("Q_ID"), QStringLiteral("Q_EXAM_N"),
                                      QStringLiteral("Q_SECT"), QStringLiteral("Q_TEXT")};
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    check(text, names);
    check(text, {});
    return 0;
}
