#pragma once

#include <QDialog>
#include <QString>
#include <utility>
#include <vector>

class QPushButton;
class QTreeWidget;

// The keys of the exam window and of the Test Sampler, listed for the
// candidate ("&Keyboard" in both Help menus).
class TKeyboardForm : public QDialog
{
    Q_OBJECT
public:
    // A key and what it does.
    using Key = std::pair<QString, QString>;
    static std::vector<Key> examKeys();
    static std::vector<Key> samplerKeys();

    explicit TKeyboardForm(QWidget* parent = nullptr);
    // The key texts listed, each as "window: key".
    QStringList listedKeys() const;

private:
    QTreeWidget* KeyList = nullptr;
    QPushButton* OKButton = nullptr;
};
