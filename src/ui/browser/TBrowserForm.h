#pragma once

#include "core/browser/QuestionIndex.h"
#include "core/history/HistoryAttempt.h"
#include "core/history/RetakeSet.h"
#include "core/learning/ItemState.h"
#include "ui/widgets/LazyForm.h"

#include <QDateTime>
#include <QDialog>
#include <array>
#include <vector>

class BrowserModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTextBrowser;
class QThread;
class TPict1Form;
class TPict2Form;

// The question browser: every active bank item and every item of the
// candidate's own set with the candidate's history of it, searched as the
// words are typed and filtered by section, practice exam and outcome. The
// selected item's detail shows its texts with the right choices marked, its
// exhibits, its note and each graded attempt. The items shown can be
// practised as an exam (the window is then accepted, and its opener reads
// chosenItems()) or exported as CSV. The columns' order and widths are kept
// in the settings file.
class TBrowserForm : public QDialog
{
    Q_OBJECT
public:
    // Where the browser reads from.
    struct Sources
    {
        QString bankPath;
        QString userSetPath; // may not exist yet
        QString notesPath;
        QString historyFolder;
        QString memoryFolder;
    };

    explicit TBrowserForm(QWidget* parent = nullptr);
    ~TBrowserForm() override;

    // Reads every item, the notes, the score history and the item memory.
    // Raises a TableError when the bank cannot be read; a history that
    // cannot be read is reported and the items are shown without it. A
    // large bank is read a screenful first; the rest follows on a thread of
    // its own and joins the list when it is read (isLoading() until then).
    void load(const Sources& sources, qint64 nowMs = QDateTime::currentMSecsSinceEpoch());
    bool isLoading() const;
    // Waits for the rest of the bank and shows it.
    void finishLoading();
    // Shows these items and this history (where load() ends).
    void display(QuestionIndex index, std::vector<HistoryAttempt> history);
    // The settings file the columns' layout is kept in; it is read now.
    void setSettingsPath(const QString& path);
    // "Practise These" only starts an exam when no exam is open.
    void setPractiseEnabled(bool enabled);

    // The items shown, in the order shown.
    std::vector<RetakeSet::Item> shownItems() const;
    // What "Practise These" chose; empty when the window was closed.
    const std::vector<RetakeSet::Item>& chosenItems() const { return m_chosen; }
    // The detail as shown, for the selected item.
    QString detailText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void applyFilter();
    void takeRest();
    std::vector<BrowserItem> withCounts(std::vector<BrowserItem> items) const;
    void showDetail();
    void PractiseButtonClick();
    void ExportButtonClick();
    void ExhibitClick(int n);
    void restoreColumns();
    void saveColumns() const;

    QLabel* SearchLabel = nullptr;
    QLineEdit* SearchEdit = nullptr;
    QLabel* SectionLabel = nullptr;
    QComboBox* SectionBox = nullptr;
    QLabel* ExamLabel = nullptr;
    QComboBox* ExamBox = nullptr;
    std::array<QCheckBox*, 5> OutcomeBox{}; // never seen, last wrong, ever wrong, due, has a note
    QLabel* CountLabel = nullptr;
    QTableView* ItemGrid = nullptr;
    QTextBrowser* DetailView = nullptr;
    std::array<QPushButton*, 2> ExhibitButton{};
    QPushButton* PractiseButton = nullptr;
    QPushButton* ExportButton = nullptr;
    QPushButton* CloseButton = nullptr;

    BrowserModel* m_model = nullptr;
    std::vector<HistoryAttempt> m_history;
    std::vector<RetakeSet::Item> m_chosen;
    QString m_settingsPath;
    bool m_columnsRestored = false;
    // What the counts are taken from, for the items read later.
    MemoryStates m_states;
    bool m_picksKnown = false;
    qint64 m_nowMs = 0;
    std::vector<BrowserItem> m_ownItems;
    QThread* m_reader = nullptr; // reads the rest of a large bank
    std::vector<BrowserItem> m_rest;
    QString m_restError;
    LazyForm<TPict1Form> Pict1Form;
    LazyForm<TPict2Form> Pict2Form;
};
