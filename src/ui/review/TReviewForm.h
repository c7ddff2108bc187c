#pragma once

#include "core/review/ReviewRow.h"

#include <QDialog>
#include <QPixmap>
#include <array>

class AnswerSheet;
class QLabel;
class QComboBox;
class QListView;
class ReviewListModel;
class QPushButton;
class QWidget;

// The items review: every item of the running exam in one list, with the
// letters of the answers given and an icon: answered, incomplete or marked
// while the exam is taken (the exam view), correct or incorrect once the
// answers are shown (the results view). The opener makes the chosen row
// (chosenEntry() after Accepted) its current item. The list is rebuilt at
// every opening, and the candidate can narrow it to the unanswered, incorrect
// or marked items.
class TReviewForm : public QDialog
{
    Q_OBJECT
public:
    explicit TReviewForm(QWidget* parent = nullptr);

    void BuildExamView(const AnswerSheet& sheet);
    void BuildResultsView(const AnswerSheet& sheet);

    // ImageList1: the four 16 x 16 icons, indexed by ReviewRow::Icon.
    static const std::array<QPixmap, 4>& ImageList1();

    // The entry index "Go to" took at this opening, or -1.
    int chosenEntry() const { return m_chosenEntry; }

public slots:
    void done(int result) override; // every closing runs FormClose first

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The "Show:" choice; the list then holds only those items.
    void FilterBoxChange();
    // The entry index of the selected row, or -1.
    int selectedEntry() const;

    void ListView1SelectItem();
    void ListView1DblClick();
    void BitBtn1Click(); // Return
    void BitBtn2Click(); // Go to the selected question

    void buildView(const AnswerSheet& sheet, bool results);
    QWidget* legendRow(const QList<QPair<ReviewRow::Icon, QString>>& pairs);
    void FormClose();

    QWidget* Panel5 = nullptr; // legend of the exam view
    QWidget* Panel4 = nullptr; // legend of the results view
    QLabel* FilterLabel = nullptr;
    QComboBox* FilterBox = nullptr;
    QListView* ListView1 = nullptr;
    ReviewListModel* ReviewModel = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    int m_chosenEntry = -1;
};
