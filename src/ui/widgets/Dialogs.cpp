#include "ui/widgets/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QQueue>
#include <QScreen>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

namespace {
struct TestState
{
    bool on = false;
    QQueue<Dialogs::Button> answers;
    QQueue<QPair<QFont, bool>> fonts;
    QQueue<QString> fileNames;
    QQueue<QColor> colors;
    std::function<int(QDialog*)> modalHandler;
    QString printFile;
    QQueue<bool> printAnswers;
    std::function<void(QPrinter*, const std::function<void(QPrinter*)>&)> previewHandler;
    std::shared_ptr<QTemporaryDir> scratch; // where test printing goes without a print file
    QStringList log;
    std::function<void(QMessageBox&)> boxInspector;
    QQueue<QPair<QString, QString>> fileChoices; // file name, filter
};

TestState& state()
{
    static TestState s;
    return s;
}

// Kept across setTestMode(): the test support installs it once.
std::function<void(const QString&)>& unansweredHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

// A dialog was shown in test mode with no answer queued for it.
void unanswered(const QString& what)
{
    std::fprintf(stderr, "Dialogs: no answer queued for %s\n", qPrintable(what));
    if (unansweredHandler())
        unansweredHandler()(what);
}

QString captionOf(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Question:
        return QStringLiteral("Confirm");
    case Dialogs::Icon::Warning:
        return QStringLiteral("Warning");
    case Dialogs::Icon::Information:
        return QStringLiteral("Information");
    case Dialogs::Icon::Error:
        return QStringLiteral("Error");
    }
    return {};
}
// In test mode every printer writes a PDF: the print file, or a scratch file.
void printToFile(QPrinter* printer)
{
    TestState& s = state();
    QString file = s.printFile;
    if (file.isEmpty()) {
        if (!s.scratch)
            s.scratch = std::make_shared<QTemporaryDir>();
        file = s.scratch->filePath(QStringLiteral("print.pdf"));
    }
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
}
} // namespace

namespace {
struct ButtonDef
{
    Dialogs::Button button;
    QMessageBox::StandardButton standard;
    const char* text;
};
const ButtonDef buttonDefs[] = {{Dialogs::Ok, QMessageBox::Ok, "OK"},
                                {Dialogs::Cancel, QMessageBox::Cancel, "Cancel"},
                                {Dialogs::Yes, QMessageBox::Yes, "&Yes"},
                                {Dialogs::No, QMessageBox::No, "&No"}};

// Fills a standard box. Its text is always plain: messages carry file names
// and table data, which must never be read as markup (an exhibit named
// "<img src=...>" would otherwise load a picture).
QHash<QAbstractButton*, Dialogs::Button> setUpBox(QMessageBox& box, const QString& caption,
                                                  Dialogs::Icon icon, const QString& text, int buttons,
                                                  Dialogs::Button defaultButton, Dialogs::Button escapeButton)
{
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (icon) {
    case Dialogs::Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Dialogs::Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Dialogs::Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Dialogs::Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    QHash<QAbstractButton*, Dialogs::Button> map;
    for (const ButtonDef& d : buttonDefs) {
        if (buttons & d.button) {
            QPushButton* b = box.addButton(d.standard);
            b->setText(QString::fromLatin1(d.text));
            map.insert(b, d.button);
            if (d.button == defaultButton)
                box.setDefaultButton(b);
            if (d.button == escapeButton)
                box.setEscapeButton(b);
        }
    }
    return map;
}
} // namespace

Dialogs::Button Dialogs::message(QWidget* parent, Icon icon, const QString& text, int buttons,
                                 Button defaultButton, Button escapeButton)
{
    const QString caption = captionOf(icon);
    TestState& s = state();
    if (s.on) {
        s.log << caption + QStringLiteral(": ") + text;
        if (s.boxInspector) {
            QMessageBox box(parent);
            setUpBox(box, caption, icon, text, buttons, defaultButton, escapeButton);
            s.boxInspector(box);
        }
        if (s.answers.isEmpty()) {
            unanswered(QStringLiteral("the message \"%1\"; answering with Esc").arg(text));
            return escapeButton;
        }
        return s.answers.dequeue();
    }
    QMessageBox box(parent);
    const auto map = setUpBox(box, caption, icon, text, buttons, defaultButton, escapeButton);
    box.exec();
    return map.value(box.clickedButton(), escapeButton);
}

void Dialogs::error(QWidget* parent, const QString& text)
{
    message(parent ? parent : QApplication::activeWindow(), Icon::Error, text, Ok, Ok, Ok);
}

void Dialogs::information(QWidget* parent, const QString& text)
{
    message(parent, Icon::Information, text, Ok, Ok, Ok);
}

QFont Dialogs::getFont(bool* ok, const QFont& initial, QWidget* parent)
{
    TestState& s = state();
    if (s.on) {
        if (s.fonts.isEmpty()) {
            unanswered(QStringLiteral("the font chooser; cancelling"));
            *ok = false;
            return initial;
        }
        const auto answer = s.fonts.dequeue();
        *ok = answer.second;
        return answer.second ? answer.first : initial;
    }
    return QFontDialog::getFont(ok, initial, parent);
}

QString Dialogs::getOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter)
{
    return getOpenFileName(parent, caption, directory, filter, nullptr);
}

QString Dialogs::getSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter)
{
    return getSaveFileName(parent, caption, directory, filter, nullptr);
}

int Dialogs::execModal(QDialog* dialog)
{
    TestState& s = state();
    if (s.on) {
        if (s.modalHandler)
            return s.modalHandler(dialog);
        unanswered(QStringLiteral("the window \"%1\"; rejecting").arg(dialog->windowTitle()));
        return QDialog::Rejected;
    }
    return dialog->exec();
}

bool Dialogs::print(QPrinter* printer, QWidget* parent)
{
    TestState& s = state();
    if (s.on) {
        s.log << QStringLiteral("Print: ") + printer->docName();
        const bool accept = s.printAnswers.isEmpty() ? !s.printFile.isEmpty() : s.printAnswers.dequeue();
        if (accept)
            printToFile(printer);
        return accept;
    }
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void Dialogs::preview(QPrinter* printer, const std::function<void(QPrinter*)>& paint, QWidget* parent)
{
    TestState& s = state();
    if (s.on) {
        s.log << QStringLiteral("Preview: ") + printer->docName();
        if (s.previewHandler) {
            s.previewHandler(printer, paint);
        } else {
            printToFile(printer);
            paint(printer);
        }
        return;
    }
    QPrintPreviewDialog dialog(printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    // Tall enough to read a whole page.
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        dialog.resize(std::min(room.width(), room.height() * 8 / 10), room.height() * 9 / 10);
    }
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(target); });
    dialog.exec();
}

void Dialogs::setPrintFile(const QString& pdfFileName)
{
    state().printFile = pdfFileName;
}

void Dialogs::queuePrintAnswer(bool print)
{
    state().printAnswers.enqueue(print);
}

void Dialogs::setPreviewHandler(std::function<void(QPrinter*, const std::function<void(QPrinter*)>&)> handler)
{
    state().previewHandler = std::move(handler);
}

void Dialogs::setTestMode(bool on)
{
    state() = TestState();
    state().on = on;
}

bool Dialogs::testMode()
{
    return state().on;
}

void Dialogs::queueAnswer(Button answer)
{
    state().answers.enqueue(answer);
}

void Dialogs::queueFont(const QFont& font, bool ok)
{
    state().fonts.enqueue({font, ok});
}

void Dialogs::queueFileName(const QString& fileName)
{
    state().fileNames.enqueue(fileName);
}

void Dialogs::setMessageBoxInspector(std::function<void(QMessageBox&)> inspector)
{
    state().boxInspector = std::move(inspector);
}

void Dialogs::setModalHandler(std::function<int(QDialog*)> handler)
{
    state().modalHandler = std::move(handler);
}

QStringList Dialogs::shownMessages()
{
    return state().log;
}

void Dialogs::clearLog()
{
    state().log.clear();
}

int Dialogs::pendingAnswers()
{
    return int(state().answers.size());
}

// ---- the close button and the colour chooser ------------------------------------

namespace {
// Tells a message box closed by the window system's close button from one
// answered by Esc: a QMessageBox reports both as its escape button. Only the
// first box shown while watching counts, not one opened from under it.
class CloseWatcher : public QObject
{
public:
    bool closed = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            if (event->type() == QEvent::Show && !m_box)
                m_box = box;
            else if (event->type() == QEvent::Close && event->spontaneous() && box == m_box)
                closed = true;
        }
        return false;
    }

private:
    QPointer<QMessageBox> m_box;
};
} // namespace

Dialogs::Button Dialogs::message(QWidget* parent, Icon icon, const QString& text, int buttons,
                                 Button defaultButton, Button escapeButton, Button closeButton)
{
    if (state().on) {
        const Button answer = message(parent, icon, text, buttons, defaultButton, escapeButton);
        return answer == CloseBox ? closeButton : answer;
    }
    CloseWatcher watcher;
    qApp->installEventFilter(&watcher);
    const Button answer = message(parent, icon, text, buttons, defaultButton, escapeButton);
    qApp->removeEventFilter(&watcher);
    return watcher.closed ? closeButton : answer;
}

QColor Dialogs::getColor(const QColor& initial, QWidget* parent)
{
    TestState& s = state();
    if (s.on) {
        if (s.colors.isEmpty()) {
            unanswered(QStringLiteral("the colour chooser; cancelling"));
            return QColor();
        }
        return s.colors.dequeue();
    }
    return QColorDialog::getColor(initial, parent);
}

void Dialogs::queueColor(const QColor& color)
{
    state().colors.enqueue(color);
}

namespace {
// The test-mode answer of a file chooser; false when not in test mode.
bool testFileChoice(QString* fileName, QString* selectedFilter)
{
    TestState& s = state();
    if (!s.on)
        return false;
    if (!s.fileChoices.isEmpty()) {
        const auto choice = s.fileChoices.dequeue();
        *fileName = choice.first;
        if (selectedFilter && !choice.second.isEmpty())
            *selectedFilter = choice.second;
    } else if (!s.fileNames.isEmpty()) {
        *fileName = s.fileNames.dequeue();
    } else {
        unanswered(QStringLiteral("the file chooser; cancelling"));
        *fileName = QString();
    }
    return true;
}
} // namespace

QString Dialogs::getOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter, QString* selectedFilter)
{
    QString fileName;
    if (testFileChoice(&fileName, selectedFilter))
        return fileName;
    return QFileDialog::getOpenFileName(parent, caption, directory, filter, selectedFilter);
}

QString Dialogs::getSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter, QString* selectedFilter)
{
    QString fileName;
    if (state().on)
        state().log << QStringLiteral("Save: ") + caption;
    if (testFileChoice(&fileName, selectedFilter))
        return fileName;
    return QFileDialog::getSaveFileName(parent, caption, directory, filter, selectedFilter);
}

void Dialogs::queueFileChoice(const QString& fileName, const QString& selectedFilter)
{
    state().fileChoices.enqueue({fileName, selectedFilter});
}

void Dialogs::setUnansweredHandler(std::function<void(const QString& what)> handler)
{
    unansweredHandler() = std::move(handler);
}
