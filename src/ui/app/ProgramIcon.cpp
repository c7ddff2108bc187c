#include "ui/app/ProgramIcon.h"

// Outside any namespace, as the resource's initialiser requires.
static void initIconResource()
{
    Q_INIT_RESOURCE(icons);
}

QIcon ProgramIcon::icon()
{
    static const QIcon icon = [] {
        initIconResource();
        QIcon i;
        // The bitmaps for the small sizes, where the drawing would blur.
        for (int size : {16, 32, 48, 64, 128, 256})
            i.addFile(QStringLiteral(":/icons/velarix-%1.png").arg(size), QSize(size, size));
        return i;
    }();
    return icon;
}
