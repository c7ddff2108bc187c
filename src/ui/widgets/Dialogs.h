#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QMessageBox;
class QPrinter;
class QWidget;

// The one way the program asks the user anything modal: message boxes, the
// font and file choosers, and modal windows. A test switches on test mode and
// queues the answers in advance, so that nothing ever blocks in exec().
class Dialogs
{
public:
    enum class Icon { Question, Warning, Information, Error };
    // CloseBox stands for the title bar's close button; tests queue it.
    enum Button { NoButton = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8, CloseBox = 16 };

    // A standard message box: caption from the icon ("Confirm", "Warning",
    // "Information"), the buttons given, and the button that Esc answers.
    static Button message(QWidget* parent, Icon icon, const QString& text, int buttons, Button defaultButton,
                          Button escapeButton);
    // The same box, where closing it by the title bar's close button answers
    // closeButton rather than escapeButton.
    static Button message(QWidget* parent, Icon icon, const QString& text, int buttons, Button defaultButton,
                          Button escapeButton, Button closeButton);
    // The standard error box: error icon, the text, one OK button.
    static void error(QWidget* parent, const QString& text);
    // A note for the user: information icon, the text, one OK button.
    static void information(QWidget* parent, const QString& text);

    static QFont getFont(bool* ok, const QFont& initial, QWidget* parent);
    // The colour chooser; an invalid colour when the user cancels.
    static QColor getColor(const QColor& initial, QWidget* parent);
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                   const QString& filter);
    // The save chooser; in test mode it answers from the same queue as the
    // open chooser.
    static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                   const QString& filter);
    // Runs a dialog modally and returns its result.
    static int execModal(QDialog* dialog);
    // The print dialog (printer, copies, pages): true when the user chose to print.
    static bool print(QPrinter* printer, QWidget* parent);
    // The modal print preview; paint draws the pages on the printer it is given
    // (the preview's, or the real one when the user prints from it).
    static void preview(QPrinter* printer, const std::function<void(QPrinter*)>& paint, QWidget* parent);

    // ---- test mode --------------------------------------------------------
    static void setTestMode(bool on);
    static bool testMode();
    static void queueAnswer(Button answer);
    static void queueFont(const QFont& font, bool ok = true);
    static void queueColor(const QColor& color); // an invalid colour cancels
    static void queueFileName(const QString& fileName);
    // Each message box is also built as it would be shown and handed to the
    // inspector before the queued answer is given.
    static void setMessageBoxInspector(std::function<void(QMessageBox&)> inspector);
    // Called instead of exec() for modal dialogs; its return is the result.
    static void setModalHandler(std::function<int(QDialog*)> handler);
    // Print dialogs are accepted and print into this PDF file; without one
    // they are cancelled. A preview paints into it (or into a scratch file).
    static void setPrintFile(const QString& pdfFileName);
    // Answers the next print dialog ahead of the print file: true prints
    // (into the print file, or a scratch file), false cancels.
    static void queuePrintAnswer(bool print);
    // Called instead of showing a preview; it may call paint with the printer.
    static void
    setPreviewHandler(std::function<void(QPrinter*, const std::function<void(QPrinter*)>&)> handler);
    // Every message shown since the last clear, as "Caption: text"; print
    // dialogs and previews as "Print: <document>" and "Preview: <document>".
    static QStringList shownMessages();
    static void clearLog();
    static int pendingAnswers();
    // Told of every dialog shown in test mode with no answer queued for it
    // (it is then answered as Esc or Cancel would); kept across
    // setTestMode(). The test support fails the running test here.
    static void setUnansweredHandler(std::function<void(const QString& what)> handler);

    // ---- file choosers with one filter per file format ----------------------
    // selectedFilter: in, the filter shown first; out, the filter the user
    // chose. An empty name means the user cancelled.
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                   const QString& filter, QString* selectedFilter);
    static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                   const QString& filter, QString* selectedFilter);
    // Test mode: the next file chooser answers this file and filter (an empty
    // filter leaves *selectedFilter as it was). Without a queued choice the
    // chooser takes the next queued file name, or is cancelled.
    static void queueFileChoice(const QString& fileName, const QString& selectedFilter);
};
