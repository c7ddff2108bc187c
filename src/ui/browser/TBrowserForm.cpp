#include "ui/browser/TBrowserForm.h"

#include "core/browser/BrowserCsv.h"
#include "core/browser/QuestionCatalog.h"
#include "core/browser/TextFold.h"
#include "core/history/ScoreHistory.h"
#include "core/learning/ItemMemory.h"
#include "core/settings/SettingsStore.h"
#include "core/store/NoteBook.h"
#include "core/store/SectionNames.h"
#include "core/store/TableFiles.h"
#include "core/tables/Table.h"
#include "core/tables/TableError.h"
#include "ui/browser/BrowserModel.h"
#include "ui/exam/TPict1Form.h"
#include "ui/exam/TPict2Form.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ErrorGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString ColumnsKey = QStringLiteral("QuestionBrowser/Columns");

QString choiceLetter(int k)
{
    return QString(QChar('a' + k));
}

// The text as HTML with the search's words marked in the palette's
// highlight colours.
QString marked(const QString& text, const QStringList& words, const QPalette& palette)
{
    const QString open =
        QStringLiteral("<span style=\"background-color:%1; color:%2\">")
            .arg(palette.color(QPalette::Highlight).name(), palette.color(QPalette::HighlightedText).name());
    QString html;
    int at = 0;
    for (const auto& [start, end] : TextFold::matches(text, words)) {
        html += text.mid(at, start - at).toHtmlEscaped();
        html += open + text.mid(start, end - start).toHtmlEscaped() + QStringLiteral("</span>");
        at = end;
    }
    html += text.mid(at).toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return html;
}
} // namespace

TBrowserForm::TBrowserForm(QWidget* parent) : QDialog(parent), m_model(new BrowserModel(this))
{
    setWindowTitle(QStringLiteral("Question Browser"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    SearchLabel = new QLabel(QStringLiteral("&Search:"), this);
    SearchEdit = new QLineEdit(this);
    SearchEdit->setClearButtonEnabled(true);
    SearchEdit->setPlaceholderText(QStringLiteral("Words in the question, choices, explanation or note"));
    SearchLabel->setBuddy(SearchEdit);
    SectionLabel = new QLabel(QStringLiteral("Sec&tion:"), this);
    SectionBox = new QComboBox(this);
    SectionBox->addItem(QStringLiteral("All sections"), 0);
    for (int s = 1; s <= SectionNames::Count; ++s)
        SectionBox->addItem(QStringLiteral("%1 %2").arg(s).arg(SectionNames::name(s)), s);
    SectionLabel->setBuddy(SectionBox);
    ExamLabel = new QLabel(QStringLiteral("Ex&am:"), this);
    ExamBox = new QComboBox(this);
    ExamBox->addItem(QStringLiteral("All items"), BrowserFilter::AnyExam);
    for (int e = 1; e <= 6; ++e)
        ExamBox->addItem(QStringLiteral("Practice exam %1").arg(e), e);
    ExamBox->addItem(QStringLiteral("Own items"), BrowserFilter::OwnItems);
    ExamLabel->setBuddy(ExamBox);
    const char* const outcomes[] = {"&Never seen", "Last answer &wrong", "E&ver wrong", "&Due",
                                    "Has a n&ote"};
    for (std::size_t i = 0; i < OutcomeBox.size(); ++i)
        OutcomeBox[i] = new QCheckBox(QString::fromLatin1(outcomes[i]), this);
    CountLabel = new QLabel(this);

    ItemGrid = new QTableView(this);
    ItemGrid->setModel(m_model);
    ItemGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ItemGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    ItemGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ItemGrid->setSortingEnabled(true);
    ItemGrid->sortByColumn(BrowserColumn::Id, Qt::AscendingOrder);
    ItemGrid->setWordWrap(false);
    ItemGrid->setTabKeyNavigation(false);
    ItemGrid->verticalHeader()->hide();
    ItemGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ItemGrid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = ItemGrid->horizontalHeader();
    header->setSectionsMovable(true);
    header->setStretchLastSection(false);
    const int widths[BrowserColumn::Count] = {56, 54, 56, 46, 260, 44, 48, 90, 80, 64, 44};
    for (int c = 0; c < BrowserColumn::Count; ++c)
        header->resizeSection(c, widths[c]);

    DetailView = new QTextBrowser(this);
    DetailView->setOpenLinks(false);
    for (std::size_t i = 0; i < ExhibitButton.size(); ++i) {
        ExhibitButton[i] = new QPushButton(QStringLiteral("Exhibit &%1").arg(i + 1), this);
        ExhibitButton[i]->setEnabled(false);
    }
    PractiseButton = new QPushButton(QStringLiteral("&Practise These"), this);
    ExportButton = new QPushButton(QStringLiteral("E&xport CSV..."), this);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    PractiseButton->setAutoDefault(false);
    ExportButton->setAutoDefault(false);
    CloseButton->setAutoDefault(false);

    // Search and filters on top, the list beside the detail, the buttons below.
    auto* filters = new QGridLayout;
    filters->addWidget(SearchLabel, 0, 0);
    filters->addWidget(SearchEdit, 0, 1, 1, 3);
    filters->addWidget(SectionLabel, 0, 4);
    filters->addWidget(SectionBox, 0, 5);
    filters->addWidget(ExamLabel, 0, 6);
    filters->addWidget(ExamBox, 0, 7);
    auto* outcomeRow = new QHBoxLayout;
    for (QCheckBox* box : OutcomeBox)
        outcomeRow->addWidget(box);
    outcomeRow->addStretch(1);
    outcomeRow->addWidget(CountLabel);
    filters->addLayout(outcomeRow, 1, 0, 1, 8);
    filters->setColumnStretch(1, 1);

    auto* detail = new QWidget(this);
    auto* detailLayout = new QVBoxLayout(detail);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    detailLayout->addWidget(DetailView, 1);
    auto* exhibits = new QHBoxLayout;
    for (QPushButton* b : ExhibitButton)
        exhibits->addWidget(b);
    exhibits->addStretch(1);
    detailLayout->addLayout(exhibits);
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(ItemGrid);
    splitter->addWidget(detail);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PractiseButton);
    buttons->addWidget(ExportButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    setMinimumSize(640, 400);
    resize(1000, 560);

    SearchEdit->setAccessibleName(QStringLiteral("Search"));
    for (QToolButton* clear : SearchEdit->findChildren<QToolButton*>())
        clear->setAccessibleName(QStringLiteral("Clear the search"));
    SectionBox->setAccessibleName(QStringLiteral("Section"));
    ExamBox->setAccessibleName(QStringLiteral("Practice exam"));
    for (QCheckBox* box : OutcomeBox)
        box->setAccessibleName(box->text().remove(QLatin1Char('&')));
    ItemGrid->setAccessibleName(QStringLiteral("Items"));
    DetailView->setAccessibleName(QStringLiteral("Item detail"));
    for (std::size_t i = 0; i < ExhibitButton.size(); ++i)
        ExhibitButton[i]->setAccessibleName(QStringLiteral("Exhibit %1").arg(i + 1));
    PractiseButton->setAccessibleName(QStringLiteral("Practise These"));
    ExportButton->setAccessibleName(QStringLiteral("Export CSV"));
    CloseButton->setAccessibleName(QStringLiteral("Close"));
    CountLabel->setAccessibleName(QStringLiteral("Items shown"));

    setTabOrder(SearchEdit, SectionBox);
    setTabOrder(SectionBox, ExamBox);
    setTabOrder(ExamBox, OutcomeBox[0]);
    for (std::size_t i = 1; i < OutcomeBox.size(); ++i)
        setTabOrder(OutcomeBox[i - 1], OutcomeBox[i]);
    setTabOrder(OutcomeBox.back(), ItemGrid);
    setTabOrder(ItemGrid, DetailView);
    setTabOrder(DetailView, ExhibitButton[0]);
    setTabOrder(ExhibitButton[0], ExhibitButton[1]);
    setTabOrder(ExhibitButton[1], PractiseButton);
    setTabOrder(PractiseButton, ExportButton);
    setTabOrder(ExportButton, CloseButton);

    const auto refilter = guarded(this, &TBrowserForm::applyFilter);
    connect(SearchEdit, &QLineEdit::textChanged, this, [refilter](const QString&) { refilter(); });
    connect(SectionBox, &QComboBox::currentIndexChanged, this, [refilter](int) { refilter(); });
    connect(ExamBox, &QComboBox::currentIndexChanged, this, [refilter](int) { refilter(); });
    for (QCheckBox* box : OutcomeBox)
        connect(box, &QCheckBox::toggled, this, [refilter](bool) { refilter(); });
    connect(ItemGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex&, const QModelIndex&) { guarded(this, &TBrowserForm::showDetail)(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, guarded(this, &TBrowserForm::showDetail));
    connect(ExhibitButton[0], &QPushButton::clicked, this,
            [this] { guarded(this, &TBrowserForm::ExhibitClick)(1); });
    connect(ExhibitButton[1], &QPushButton::clicked, this,
            [this] { guarded(this, &TBrowserForm::ExhibitClick)(2); });
    connect(PractiseButton, &QPushButton::clicked, this, guarded(this, &TBrowserForm::PractiseButtonClick));
    connect(ExportButton, &QPushButton::clicked, this, guarded(this, &TBrowserForm::ExportButtonClick));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);

    Pict1Form.setFactory([this] { return new TPict1Form(this); });
    Pict2Form.setFactory([this] { return new TPict2Form(this); });

    nameControls({{SearchLabel, "SearchLabel"},
                  {SearchEdit, "SearchEdit"},
                  {SectionLabel, "SectionLabel"},
                  {SectionBox, "SectionBox"},
                  {ExamLabel, "ExamLabel"},
                  {ExamBox, "ExamBox"},
                  {CountLabel, "CountLabel"},
                  {ItemGrid, "ItemGrid"},
                  {DetailView, "DetailView"},
                  {PractiseButton, "PractiseButton"},
                  {ExportButton, "ExportButton"},
                  {CloseButton, "CloseButton"}});
    nameControls(OutcomeBox, "OutcomeBox");
    nameControls(ExhibitButton, "ExhibitButton");
    applyFilter();
}

TBrowserForm::~TBrowserForm()
{
    if (m_reader) {
        m_reader->wait();
        delete m_reader;
    }
}

// ---- reading ----------------------------------------------------------------------

void TBrowserForm::load(const Sources& sources, qint64 nowMs)
{
    // A bank this large is read on: the first items are shown at once.
    constexpr int FirstItems = 500;
    if (m_reader) {
        m_reader->wait();
        delete m_reader;
        m_reader = nullptr;
    }
    const QHash<qint64, QString> notes = NoteBook(TableFiles::SessionName, sources.notesPath).readAll();
    std::vector<BrowserItem> items = QuestionCatalog::readBankFile(sources.bankPath, notes, 0, FirstItems);
    m_ownItems.clear();
    if (QFileInfo::exists(sources.userSetPath)) {
        Table userSet(TableFiles::SessionName, sources.userSetPath);
        userSet.setReadOnly(true);
        userSet.open();
        m_ownItems = QuestionCatalog::readUserSet(userSet);
    }
    std::vector<HistoryAttempt> history;
    QString error;
    if (!ScoreHistory(sources.historyFolder).load(&history, &error))
        Dialogs::error(this, error);
    // Once the item memory keeps the candidate's answers it knows more than
    // the score history (the wrong choices picked); until then the history
    // is worked through the same way.
    const ItemMemory memory(sources.memoryFolder);
    m_picksKnown = memory.isFed();
    m_states = m_picksKnown ? memory.readAll() : QuestionCatalog::replay(history);
    m_nowMs = nowMs;
    if (int(items.size()) == FirstItems) {
        const std::int32_t after = items.back().id;
        m_rest.clear();
        m_restError.clear();
        m_reader = QThread::create([this, path = sources.bankPath, notes, after] {
            try {
                m_rest = QuestionCatalog::readBankFile(path, notes, after);
            } catch (const TableError& e) {
                m_restError = e.message();
            }
        });
        connect(m_reader, &QThread::finished, this, guarded(this, &TBrowserForm::takeRest));
        m_reader->start();
    }
    std::vector<BrowserItem> all = withCounts(std::move(items));
    display(QuestionIndex(std::move(all)), std::move(history));
}

std::vector<BrowserItem> TBrowserForm::withCounts(std::vector<BrowserItem> bankItems) const
{
    bankItems.insert(bankItems.end(), m_ownItems.begin(), m_ownItems.end());
    QuestionCatalog::attach(bankItems, m_states, m_picksKnown, m_nowMs);
    return bankItems;
}

bool TBrowserForm::isLoading() const
{
    return m_reader != nullptr;
}

void TBrowserForm::finishLoading()
{
    if (m_reader) {
        m_reader->wait();
        takeRest();
    }
}

void TBrowserForm::takeRest()
{
    if (!m_reader)
        return;
    m_reader->wait();
    m_reader->deleteLater();
    m_reader = nullptr;
    if (!m_restError.isEmpty()) {
        Dialogs::error(this, m_restError);
        return;
    }
    // The bank's first items, the rest, then the candidate's own.
    std::vector<BrowserItem> items;
    for (const BrowserItem& item : m_model->questions().items())
        if (item.source == ItemSource::Bank)
            items.push_back(item);
    items.insert(items.end(), std::make_move_iterator(m_rest.begin()), std::make_move_iterator(m_rest.end()));
    m_rest.clear();
    const BrowserItem* current = m_model->itemAt(ItemGrid->currentIndex().row());
    const RetakeSet::Item selected{current ? current->source : ItemSource::Bank, current ? current->id : 0};
    m_model->setIndex(QuestionIndex(withCounts(std::move(items))));
    applyFilter();
    for (int r = 0; r < m_model->rowCount(); ++r) {
        const BrowserItem* item = m_model->itemAt(r);
        if (item->source == selected.source && item->id == selected.id) {
            ItemGrid->setCurrentIndex(m_model->index(r, 0));
            break;
        }
    }
}

void TBrowserForm::display(QuestionIndex index, std::vector<HistoryAttempt> history)
{
    m_history = std::move(history);
    m_chosen.clear();
    m_model->setIndex(std::move(index));
    applyFilter();
    if (m_model->rowCount() > 0)
        ItemGrid->setCurrentIndex(m_model->index(0, 0));
}

void TBrowserForm::setSettingsPath(const QString& path)
{
    m_settingsPath = path;
    m_columnsRestored = false;
    restoreColumns();
}

void TBrowserForm::setPractiseEnabled(bool enabled)
{
    PractiseButton->setEnabled(enabled);
}

// ---- the list -----------------------------------------------------------------------

void TBrowserForm::applyFilter()
{
    BrowserFilter filter;
    filter.search = SearchEdit->text();
    filter.section = SectionBox->currentData().toInt();
    filter.exam = ExamBox->currentData().toInt();
    const unsigned flags[] = {BrowserFilter::NeverSeen, BrowserFilter::LastWrong, BrowserFilter::EverWrong,
                              BrowserFilter::Due, BrowserFilter::HasNote};
    for (std::size_t i = 0; i < OutcomeBox.size(); ++i)
        if (OutcomeBox[i]->isChecked())
            filter.outcomes |= flags[i];
    m_model->setFilter(filter);
    CountLabel->setText(
        QStringLiteral("%1 of %2 items").arg(m_model->rowCount()).arg(m_model->questions().size()));
    if (m_model->rowCount() > 0 && !ItemGrid->currentIndex().isValid())
        ItemGrid->setCurrentIndex(m_model->index(0, 0));
}

std::vector<RetakeSet::Item> TBrowserForm::shownItems() const
{
    std::vector<RetakeSet::Item> items;
    items.reserve(m_model->rows().size());
    for (int r = 0; r < m_model->rowCount(); ++r) {
        const BrowserItem* item = m_model->itemAt(r);
        items.push_back({item->source, item->id});
    }
    return items;
}

// ---- the detail ----------------------------------------------------------------------

void TBrowserForm::showDetail()
{
    const BrowserItem* item = m_model->itemAt(ItemGrid->currentIndex().row());
    ExhibitButton[0]->setEnabled(item && !item->picture1.isEmpty());
    ExhibitButton[1]->setEnabled(item && !item->picture2.isEmpty());
    if (!item) {
        DetailView->clear();
        return;
    }
    const QStringList words = TextFold::words(SearchEdit->text());
    const QPalette& p = palette();
    QString html;
    html += QStringLiteral("<p><b>%1 %2</b>, section %3%4%5</p>")
                .arg(item->source == ItemSource::Bank ? QStringLiteral("Item") : QStringLiteral("Own item"))
                .arg(item->id)
                .arg(item->section)
                .arg(item->exam > 0 ? QStringLiteral(", practice exam %1").arg(item->exam) : QString())
                .arg(item->multiple ? QStringLiteral(", more than one answer") : QString());
    html += QStringLiteral("<p>%1</p>").arg(marked(item->question, words, p));
    html += QStringLiteral("<p>");
    for (int k = 0; k < 6; ++k) {
        const QString& choice = item->choices[std::size_t(k)];
        if (choice.isEmpty())
            continue;
        const bool right = item->correctChoices & (1u << k);
        html += QStringLiteral("%1%2. %3%4%5<br>")
                    .arg(right ? QStringLiteral("<b>") : QString(), choiceLetter(k), marked(choice, words, p),
                         right ? QStringLiteral(" \u2714 (right)") : QString(),
                         right ? QStringLiteral("</b>") : QString());
    }
    html += QStringLiteral("</p>");
    if (!item->explanation.isEmpty())
        html += QStringLiteral("<p><b>Explanation</b><br>%1</p>").arg(marked(item->explanation, words, p));
    QStringList pictures;
    for (const QString& picture : {item->picture1, item->picture2})
        if (!picture.isEmpty())
            pictures << picture;
    if (!pictures.isEmpty())
        html +=
            QStringLiteral("<p>Exhibits: %1</p>").arg(pictures.join(QStringLiteral(", ")).toHtmlEscaped());
    if (!item->note.isEmpty())
        html += QStringLiteral("<p><b>Note</b><br>%1</p>").arg(marked(item->note, words, p));

    html += QStringLiteral("<p><b>Your answers</b><br>");
    const std::vector<QuestionCatalog::Attempt> attempts =
        QuestionCatalog::attemptsAt(m_history, item->source, item->id);
    if (attempts.empty() && item->seen == 0)
        html += QStringLiteral("Never seen in a graded exam.");
    for (const QuestionCatalog::Attempt& a : attempts)
        html += QStringLiteral("%1: %2 (%3)<br>")
                    .arg(a.when.toString(QStringLiteral("yyyy-MM-dd hh:mm")),
                         a.correct ? QStringLiteral("right") : QStringLiteral("wrong"),
                         a.examTitle.toHtmlEscaped());
    if (item->seen > 0) {
        html += QStringLiteral("Seen %1 times, wrong %2 times; chance of recall now %3%.<br>")
                    .arg(item->seen)
                    .arg(item->wrong)
                    .arg(qRound(item->recall * 100));
        QStringList picks;
        for (int k = 0; k < 6; ++k)
            if (const int n = item->wrongPicks[std::size_t(k)]; n > 0)
                picks << QStringLiteral("%1 picked %2 %3")
                             .arg(choiceLetter(k))
                             .arg(n)
                             .arg(n == 1 ? QStringLiteral("time") : QStringLiteral("times"));
        if (!item->picksKnown)
            html += QStringLiteral("Which wrong choices were picked is not recorded yet.");
        else if (picks.isEmpty())
            html += QStringLiteral("No wrong choice picked.");
        else
            html += QStringLiteral("Wrong choices: %1.").arg(picks.join(QStringLiteral(", ")));
    }
    html += QStringLiteral("</p>");
    DetailView->setHtml(html);
}

QString TBrowserForm::detailText() const
{
    return DetailView->toPlainText();
}

// ---- the buttons -----------------------------------------------------------------------

void TBrowserForm::PractiseButtonClick()
{
    finishLoading();
    std::vector<RetakeSet::Item> items = shownItems();
    if (items.empty()) {
        Dialogs::information(this, QStringLiteral("No items are shown to practise."));
        return;
    }
    m_chosen = std::move(items);
    accept();
}

void TBrowserForm::ExportButtonClick()
{
    finishLoading();
    const QString fileName = Dialogs::getSaveFileName(this, QStringLiteral("Export CSV"), QString(),
                                                      QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (fileName.isEmpty())
        return;
    std::vector<int> columns;
    const QHeaderView* header = ItemGrid->horizontalHeader();
    for (int v = 0; v < header->count(); ++v)
        if (!header->isSectionHidden(header->logicalIndex(v)))
            columns.push_back(header->logicalIndex(v));
    QString error;
    if (!BrowserCsv::write(fileName, BrowserCsv::text(m_model->questions(), m_model->rows(), columns),
                           &error))
        Dialogs::error(this, error);
}

void TBrowserForm::ExhibitClick(int n)
{
    const BrowserItem* item = m_model->itemAt(ItemGrid->currentIndex().row());
    if (!item)
        return;
    if (n == 1) {
        Pict1Form->LoadPicture(item->picture1);
        Dialogs::execModal(Pict1Form);
    } else {
        Pict2Form->LoadPicture(item->picture2);
        Dialogs::execModal(Pict2Form);
    }
}

// ---- the columns' layout ------------------------------------------------------------------

void TBrowserForm::restoreColumns()
{
    if (m_columnsRestored || m_settingsPath.isEmpty())
        return;
    m_columnsRestored = true;
    // "logical:width" per column in the order shown.
    const QStringList stored =
        SettingsStore(m_settingsPath).text(ColumnsKey).split(QLatin1Char(','), Qt::SkipEmptyParts);
    QHeaderView* header = ItemGrid->horizontalHeader();
    int visual = 0;
    for (const QString& entry : stored) {
        const QStringList parts = entry.split(QLatin1Char(':'));
        bool okColumn = false, okWidth = false;
        const int column = parts.value(0).trimmed().toInt(&okColumn);
        const int width = parts.value(1).trimmed().toInt(&okWidth);
        if (!okColumn || column < 0 || column >= BrowserColumn::Count || visual >= header->count())
            continue;
        header->moveSection(header->visualIndex(column), visual++);
        if (okWidth && width >= 10 && width <= 2000)
            header->resizeSection(column, width);
    }
}

void TBrowserForm::saveColumns() const
{
    if (m_settingsPath.isEmpty())
        return;
    QStringList entries;
    const QHeaderView* header = ItemGrid->horizontalHeader();
    for (int v = 0; v < header->count(); ++v) {
        const int column = header->logicalIndex(v);
        entries << QStringLiteral("%1:%2").arg(column).arg(header->sectionSize(column));
    }
    SettingsStore(m_settingsPath).setText(ColumnsKey, entries.join(QLatin1Char(',')));
}

void TBrowserForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    restoreColumns();
    SearchEdit->setFocus();
}

void TBrowserForm::hideEvent(QHideEvent* event)
{
    saveColumns();
    QDialog::hideEvent(event);
}
