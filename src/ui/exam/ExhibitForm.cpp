#include "ui/exam/ExhibitForm.h"

#include "ui/exam/PictureLoader.h"
#include "ui/widgets/ControlNames.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <stdexcept>

ExhibitForm::ExhibitForm(const QString& caption, bool resizable, QWidget* parent)
    : QDialog(parent), m_resizable(resizable)
{
    setWindowTitle(caption);
    Qt::WindowFlags flags =
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (resizable)
        flags |= Qt::WindowMaximizeButtonHint;
    else
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    setWindowFlags(flags);

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1 = new QLabel;
    Image1->setAlignment(Qt::AlignCenter);
    m_scroll->setWidget(Image1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    nameControls({{Image1, "Image1"}});
}

void ExhibitForm::LoadPicture(const QString& fileName)
{
    QString error;
    const QImage image = PictureLoader::loadExhibit(fileName, &error);
    if (image.isNull())
        throw std::runtime_error(error.toStdString());

    const QPixmap picture = QPixmap::fromImage(image);
    Image1->setPixmap(picture);
    Image1->setFixedSize(picture.size());

    // The inner area is the picture's size, unless the screen is smaller.
    QSize inner = picture.size();
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        // Room for the frame and title bar that the window manager adds.
        const QSize room = screen->availableGeometry().size() - QSize(16, 48);
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (inner.width() > room.width())
            inner.rheight() += bar;
        if (inner.height() > room.height())
            inner.rwidth() += bar;
        inner = inner.boundedTo(room);
    }
    if (m_resizable) {
        setMinimumSize(1, 1);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(inner);
    } else {
        setFixedSize(inner);
    }
}

QSize ExhibitForm::pictureSize() const
{
    return Image1->pixmap().size();
}

void ExhibitForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}
