#pragma once

#include <QDialog>

class QLabel;
class QScrollArea;

// An exhibit window: one picture at the top left, the window's inner area
// the picture's size. Created once and reused for every item; each opening
// sizes the window anew and centres it on the screen. A picture larger than
// the screen is shown in a window as large as the screen, with scroll bars.
class ExhibitForm : public QDialog
{
    Q_OBJECT
public:
    // Loads the picture file and sizes the window to it. Raises
    // std::runtime_error with the picture's error text; the window is then
    // left as it was.
    void LoadPicture(const QString& fileName);
    QSize pictureSize() const;

protected:
    ExhibitForm(const QString& caption, bool resizable, QWidget* parent);
    void showEvent(QShowEvent* event) override;

private:
    QLabel* Image1 = nullptr;
    QScrollArea* m_scroll = nullptr;
    bool m_resizable = false;
};
