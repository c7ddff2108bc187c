// Fuzzes the bank builder's reader of the JSON source files.
#include "BankSource.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray json(reinterpret_cast<const char*>(data), qsizetype(size));
    BankSource source;
    const bool parsed = source.parse(json, QStringLiteral("fuzz.json"));
    if (parsed != source.errors().isEmpty())
        std::abort();
    const qsizetype errors = source.errors().size();
    const bool sound = source.checkInvariants(QString());
    if (sound != (source.errors().size() == errors))
        std::abort();
    for (const BankItem& item : source.items()) {
        if (item.choices.size() > 6 && parsed)
            std::abort();
    }
    return 0;
}
