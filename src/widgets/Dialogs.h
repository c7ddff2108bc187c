#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

// The one way the program asks the user anything modal: message boxes, the
// font and file choosers, and modal windows. A test switches on test mode and
// queues the answers in advance, so that nothing ever blocks in exec().
class Dialogs
{
public:
    enum class Icon { Question, Warning, Information, Error };
    enum Button { NoButton = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8 };

    // A standard message box: caption from the icon ("Confirm", "Warning",
    // "Information"), the buttons given, and the button that Esc answers.
    static Button message(QWidget* parent, Icon icon, const QString& text, int buttons, Button defaultButton,
                          Button escapeButton);
    // The standard error box: error icon, the text, one OK button.
    static void error(QWidget* parent, const QString& text);

    static QFont getFont(bool* ok, const QFont& initial, QWidget* parent);
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                   const QString& filter);
    // Runs a dialog modally and returns its result.
    static int execModal(QDialog* dialog);

    // ---- test mode --------------------------------------------------------
    static void setTestMode(bool on);
    static bool testMode();
    static void queueAnswer(Button answer);
    static void queueFont(const QFont& font, bool ok = true);
    static void queueFileName(const QString& fileName);
    // Called instead of exec() for modal dialogs; its return is the result.
    static void setModalHandler(std::function<int(QDialog*)> handler);
    // Every message shown since the last clear, as "Caption: text".
    static QStringList shownMessages();
    static void clearLog();
    static int pendingAnswers();
};
