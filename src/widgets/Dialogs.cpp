#include "Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
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
    std::function<int(QDialog*)> modalHandler;
    QString printFile;
    QQueue<bool> printAnswers;
    std::function<void(QPrinter*, const std::function<void(QPrinter*)>&)> previewHandler;
    std::shared_ptr<QTemporaryDir> scratch; // where test printing goes without a print file
    QStringList log;
    QQueue<QPair<QString, QString>> fileChoices; // file name, filter
};

TestState& state()
{
    static TestState s;
    return s;
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

Dialogs::Button Dialogs::message(QWidget* parent, Icon icon, const QString& text, int buttons,
                                 Button defaultButton, Button escapeButton)
{
    const QString caption = captionOf(icon);
    TestState& s = state();
    if (s.on) {
        s.log << caption + QStringLiteral(": ") + text;
        if (s.answers.isEmpty()) {
            std::fprintf(stderr, "Dialogs: no answer queued for \"%s\"; answering with Esc\n",
                         qPrintable(text));
            return escapeButton;
        }
        return s.answers.dequeue();
    }
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
    switch (icon) {
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    struct Def
    {
        Button button;
        QMessageBox::StandardButton standard;
        const char* text;
    };
    const Def defs[] = {{Ok, QMessageBox::Ok, "OK"},
                        {Cancel, QMessageBox::Cancel, "Cancel"},
                        {Yes, QMessageBox::Yes, "&Yes"},
                        {No, QMessageBox::No, "&No"}};
    QHash<QAbstractButton*, Button> map;
    for (const Def& d : defs) {
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
    box.exec();
    return map.value(box.clickedButton(), escapeButton);
}

void Dialogs::error(QWidget* parent, const QString& text)
{
    message(parent ? parent : QApplication::activeWindow(), Icon::Error, text, Ok, Ok, Ok);
}

QFont Dialogs::getFont(bool* ok, const QFont& initial, QWidget* parent)
{
    TestState& s = state();
    if (s.on) {
        if (s.fonts.isEmpty()) {
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
    TestState& s = state();
    if (s.on)
        return s.fileNames.isEmpty() ? QString() : s.fileNames.dequeue();
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

int Dialogs::execModal(QDialog* dialog)
{
    TestState& s = state();
    if (s.on) {
        if (s.modalHandler)
            return s.modalHandler(dialog);
        std::fprintf(stderr, "Dialogs: no modal handler for \"%s\"; rejecting\n",
                     qPrintable(dialog->windowTitle()));
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
    } else {
        *fileName = s.fileNames.isEmpty() ? QString() : s.fileNames.dequeue();
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
    if (testFileChoice(&fileName, selectedFilter))
        return fileName;
    return QFileDialog::getSaveFileName(parent, caption, directory, filter, selectedFilter);
}

void Dialogs::queueFileChoice(const QString& fileName, const QString& selectedFilter)
{
    state().fileChoices.enqueue({fileName, selectedFilter});
}
