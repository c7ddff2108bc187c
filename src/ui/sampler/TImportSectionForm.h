#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

// Asks for the section of imported questions that name none (Aiken files,
// GIFT files without a category). Keeps its choice from one import to the next.
class TImportSectionForm : public QDialog
{
    Q_OBJECT
public:
    explicit TImportSectionForm(QWidget* parent = nullptr);

    // How many of the questions need the section.
    void Prepare(int unsortedCount);
    // 1..6, the section chosen.
    int chosenSection() const;

private:
    QLabel* PromptLabel = nullptr;
    QListWidget* SectionList = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
