#include "core/sampler/UserSetStatus.h"

int UserSetStatus::sectionRow(qint64 section, bool isNull, int listCount)
{
    if (isNull || section < 1 || section > listCount)
        return -1;
    return int(section - 1);
}

std::optional<bool> UserSetStatus::typeOf(int index)
{
    if (index == 0)
        return false;
    if (index == 1)
        return true;
    return std::nullopt;
}
