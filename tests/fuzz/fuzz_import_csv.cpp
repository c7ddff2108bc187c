// libFuzzer target: the CSV question reader on any bytes. An input that
// imports must write out and read back as the same items.
#include "transfer/CsvFormat.h"
#include "transfer/ImportRules.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {
// What a CSV file carries of an item.
TransferItem carried(TransferItem item)
{
    TransferItem out;
    out.section = item.section;
    out.multiple = item.multiple;
    out.question = item.question;
    out.explanation = item.explanation;
    for (int i = 0; i < item.choices.size(); ++i) // CSV keeps every position
        out.addChoice(item.choices.at(i), item.correct.value(i));
    ImportRules::normalise(&out);
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ImportResult first = CsvFormat::read(bytes);
    if (!first.ok())
        return 0;
    const ImportResult second = CsvFormat::read(CsvFormat::write(first.items));
    if (!second.ok() || second.items.size() != first.items.size())
        std::abort();
    for (qsizetype i = 0; i < first.items.size(); ++i) {
        if (!(carried(first.items.at(i)) == carried(second.items.at(i))))
            std::abort();
    }
    return 0;
}
