#pragma once

#include <QIcon>

// The program's icon, the same pictures the desktop entry installs.
class ProgramIcon
{
public:
    static QIcon icon();
};
