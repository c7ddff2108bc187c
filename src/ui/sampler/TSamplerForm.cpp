#include "ui/sampler/TSamplerForm.h"

#include "core/sampler/TDM.h"
#include "core/sampler/UserSetStatus.h"
#include "core/store/ItemCheck.h"
#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "core/transfer/ImportJob.h"
#include "core/transfer/ImportRules.h"
#include "core/transfer/QuestionFile.h"
#include "core/transfer/UserSetTransfer.h"
#include "ui/sampler/TImportProgressForm.h"
#include "ui/sampler/TImportSectionForm.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/DBCheckBox.h"
#include "ui/widgets/DBEdit.h"
#include "ui/widgets/DBMemo.h"
#include "ui/widgets/DBNavigator.h"
#include "ui/widgets/DBTreeView.h"
#include "ui/widgets/Dialogs.h"
#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/PanelStatusBar.h"
#include "ui/widgets/ScreenFit.h"
#include "ui/widgets/ShadedLabel.h"
#include "ui/widgets/TAboutForm.h"
#include "ui/widgets/TKeyboardForm.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Layout of the rows of the choices page.
constexpr int RowTop = 8;
constexpr int RowStep = 30;
constexpr int BoxLeft = 10;
constexpr int EditLeft = 46;
constexpr int EditRightGap = 10;

enum class Glyph { Add, Edit, Delete, Item };

QIcon glyphIcon(Glyph glyph, int size = 24)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    // A page with a folded corner, and a sign on it.
    QPainterPath page;
    page.moveTo(4, 2);
    page.lineTo(14, 2);
    page.lineTo(19, 7);
    page.lineTo(19, 22);
    page.lineTo(4, 22);
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(14, 2), QPointF(14, 7));
    p.drawLine(QPointF(14, 7), QPointF(19, 7));
    p.setPen(QPen(QColor(160, 170, 190), 1));
    for (int y = 10; y <= 18; y += 3)
        p.drawLine(QPointF(7, y), QPointF(16, y));
    switch (glyph) {
    case Glyph::Add:
        p.setPen(QPen(QColor(0, 140, 0), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17, 11), QPointF(17, 21));
        p.drawLine(QPointF(12, 16), QPointF(22, 16));
        break;
    case Glyph::Edit:
        p.setPen(QPen(QColor(30, 60, 170), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11, 21), QPointF(21, 11));
        p.setPen(QPen(QColor(230, 170, 60), 3.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(11, 21), QPointF(13, 19));
        break;
    case Glyph::Delete:
        p.setPen(QPen(QColor(200, 0, 0), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 12), QPointF(21, 21));
        p.drawLine(QPointF(21, 12), QPointF(12, 21));
        break;
    case Glyph::Item:
        break;
    }
    p.end();
    return QIcon(pixmap);
}

QLabel* pageLine(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}
} // namespace

TSamplerForm::TSamplerForm(TDM& dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setWindowTitle(QStringLiteral("Examora Test Sampler"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setMinimumSize(646, 462);
    ScreenFit::resizeWithin(this, QSize(646, 481));

    // ActionList1
    AddAct = new QAction(glyphIcon(Glyph::Add), QStringLiteral("&Add new item"), this);
    EditAct = new QAction(glyphIcon(Glyph::Edit), QStringLiteral("&Edit item"), this);
    DelAct = new QAction(glyphIcon(Glyph::Delete), QStringLiteral("&Delete Item"), this);
    connect(AddAct, &QAction::triggered, this, guarded(this, &TSamplerForm::AddActExecute));
    connect(EditAct, &QAction::triggered, this, guarded(this, &TSamplerForm::EditActExecute));
    connect(DelAct, &QAction::triggered, this, guarded(this, &TSamplerForm::DelActExecute));

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    MainMenu1 = new QMenuBar(this);
    QMenu* file = MainMenu1->addMenu(QStringLiteral("&File"));
    makeTransferActions(file);
    Exit1 = file->addAction(QStringLiteral("E&xit"));
    connect(Exit1, &QAction::triggered, this, guarded(this, &TSamplerForm::Exit1Click));
    QMenu* items = MainMenu1->addMenu(QStringLiteral("&Items"));
    items->addAction(AddAct);
    items->addAction(EditAct);
    items->addAction(DelAct);
    Addnewitem1 = AddAct;
    Edititem1 = EditAct;
    Deleteitem1 = DelAct;
    N1 = items->addSeparator();
    Emptyquestionset1 = items->addAction(QStringLiteral("E&mpty question set"));
    connect(Emptyquestionset1, &QAction::triggered, this,
            guarded(this, &TSamplerForm::Emptyquestionset1Click));
    QMenu* help = MainMenu1->addMenu(QStringLiteral("&Help"));
    About1 = help->addAction(QStringLiteral("A&bout"));
    connect(About1, &QAction::triggered, this, guarded(this, &TSamplerForm::About1Click));
    QAction* keyboard = help->addAction(QStringLiteral("&Keyboard"));
    keyboard->setObjectName(QStringLiteral("Keyboard1"));
    connect(keyboard, &QAction::triggered, this, [this] {
        ErrorGuard::run([this] {
            TKeyboardForm keys(this);
            Dialogs::execModal(&keys);
        });
    });
    root->setMenuBar(MainMenu1);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setMovable(false);
    QToolButton** buttons[] = {&ToolButton1, &ToolButton2, &ToolButton3};
    QAction* actions[] = {AddAct, EditAct, DelAct};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QToolButton(ToolBar1);
        b->setDefaultAction(actions[i]);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        ToolBar1->addWidget(b);
        *buttons[i] = b;
    }
    ToolBar1->addSeparator();
    root->addWidget(ToolBar1);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setChildrenCollapsible(false);
    fcDBTreeView1 = new DBTreeView(Splitter1);
    fcDBTreeView1->setNodeIcon(glyphIcon(Glyph::Item, 16));
    fcDBTreeView1->setMinimumWidth(80);
    fcDBTreeView1->setAccessibleName(QStringLiteral("Items"));
    PopupMenu1 = new QMenu(this);
    PopupMenu1->addActions({AddAct, EditAct, DelAct});
    fcDBTreeView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(fcDBTreeView1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->popup(fcDBTreeView1->viewport()->mapToGlobal(pos)); });

    auto* editor = new QWidget(Splitter1);
    auto* col = new QVBoxLayout(editor);
    col->setContentsMargins(4, 4, 4, 4);
    col->setSpacing(4);

    auto* headingBar = new QFrame(editor);
    headingBar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    headingBar->setAutoFillBackground(true);
    QPalette grey = headingBar->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    headingBar->setPalette(grey);
    headingBar->setFixedHeight(30);
    auto* headingRow = new QHBoxLayout(headingBar);
    headingRow->setContentsMargins(10, 0, 10, 0);
    fcLabel4 = new ShadedLabel(QStringLiteral("Adding new item"), headingBar);
    QFont hf(QStringLiteral("Verdana"));
    hf.setStyleHint(QFont::SansSerif);
    hf.setPointSize(11);
    hf.setBold(true);
    fcLabel4->setFont(hf);
    fcLabel4->setTextColor(QColor(0, 255, 255));
    fcLabel4->setShadow(Qt::black, 1);
    fcLabel4->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    headingRow->addWidget(fcLabel4, 1);
    col->addWidget(headingBar);

    PageControl1 = new QTabWidget(editor);
    TabSheet1 = makeQuestionPage();
    TabSheet2 = makeTypePage();
    TabSheet3 = makeChoicesPage();
    TabSheet4 = makeExplanationPage();
    PageControl1->addTab(TabSheet1, QStringLiteral("Test question"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Type, Section"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Responce choices"));
    PageControl1->addTab(TabSheet4, QStringLiteral("Explanation"));
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (PageControl1->widget(index) == TabSheet2)
            TabSheet2Enter();
    });
    PageControl1->installEventFilter(this);
    col->addWidget(PageControl1, 1);

    auto* bottom = new QHBoxLayout();
    DBNavigator1 = new DBNavigator(editor);
    DBNavigator1->setHints({QStringLiteral("First item"), QStringLiteral("Prior item"),
                            QStringLiteral("Next item"), QStringLiteral("Last item")});
    bottom->addWidget(DBNavigator1);
    bottom->addStretch(1);
    BitBtn1 =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("Save"), editor);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"),
                              editor);
    for (QPushButton* b : {BitBtn1, BitBtn2}) {
        b->setMinimumWidth(82);
        b->setEnabled(false);
        bottom->addWidget(b);
    }
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, guarded(this, &TSamplerForm::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, guarded(this, &TSamplerForm::BitBtn2Click));
    col->addLayout(bottom);

    Splitter1->addWidget(fcDBTreeView1);
    Splitter1->addWidget(editor);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({110, 536});
    root->addWidget(Splitter1, 1);

    StatusBar1 = new PanelStatusBar(this);
    StatusBar1->setPanelWidths({70, 80, 100, 100});
    root->addWidget(StatusBar1);

    {
        Table* t = m_dm.dtUserSet;
        using namespace ItemRecord;
        fcDBTreeView1->setTable(t, Q_ID);
        DBNavigator1->setTable(t);
        DBMemo1->setField(t, Q_TEXT);
        DBMemo2->setField(t, Q_EXPL);
        for (int k = 1; k <= ChoiceCount; ++k) {
            AnswerBox[k - 1]->setField(t, choiceFlag(k));
            ChoiceEdit[k - 1]->setField(t, choiceText(k));
        }
    }
    FormCreate();
    nameControls({{MainMenu1, "MainMenu1"},
                  {Import1, "Import1"},
                  {Export1, "Export1"},
                  {N2, "N2"},
                  {Exit1, "Exit1"},
                  {N1, "N1"},
                  {Emptyquestionset1, "Emptyquestionset1"},
                  {About1, "About1"},
                  {PopupMenu1, "PopupMenu1"},
                  {AddAct, "AddAct"},
                  {EditAct, "EditAct"},
                  {DelAct, "DelAct"},
                  {ToolBar1, "ToolBar1"},
                  {ToolButton1, "ToolButton1"},
                  {ToolButton2, "ToolButton2"},
                  {ToolButton3, "ToolButton3"},
                  {Splitter1, "Splitter1"},
                  {fcDBTreeView1, "fcDBTreeView1"},
                  {fcLabel4, "fcLabel4"},
                  {PageControl1, "PageControl1"},
                  {TabSheet1, "TabSheet1"},
                  {TabSheet2, "TabSheet2"},
                  {TabSheet3, "TabSheet3"},
                  {TabSheet4, "TabSheet4"},
                  {DBMemo1, "DBMemo1"},
                  {ComboBox1, "ComboBox1"},
                  {ListBox1, "ListBox1"},
                  {ScrollBox1, "ScrollBox1"},
                  {DBMemo2, "DBMemo2"},
                  {DBNavigator1, "DBNavigator1"},
                  {BitBtn1, "BitBtn1"},
                  {BitBtn2, "BitBtn2"},
                  {StatusBar1, "StatusBar1"}});
    nameControls(AnswerBox, "AnswerBox");
    nameControls(ChoiceEdit, "ChoiceEdit");
}

QWidget* TSamplerForm::makeQuestionPage()
{
    auto* page = new QWidget;
    auto* col = new QVBoxLayout(page);
    col->addWidget(pageLine(QStringLiteral("Enter the question text in the box bellow."), page));
    DBMemo1 = new DBMemo(page);
    DBMemo1->setAccessibleName(QStringLiteral("Question"));
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setTabChangesFocus(true);
    col->addWidget(DBMemo1, 1);
    return page;
}

QWidget* TSamplerForm::makeTypePage()
{
    auto* page = new QWidget;
    auto* col = new QVBoxLayout(page);
    col->addWidget(pageLine(QStringLiteral("Select item type:"), page));
    ComboBox1 = new QComboBox(page);
    ComboBox1->addItems({QStringLiteral("Single responce"), QStringLiteral("Multiple responces")});
    ComboBox1->setMinimumWidth(200);
    col->addWidget(ComboBox1, 0, Qt::AlignLeft);
    col->addSpacing(8);
    col->addWidget(pageLine(QStringLiteral("Select item section:"), page));
    ListBox1 = new QListWidget(page);
    ListBox1->setAccessibleName(QStringLiteral("Section"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    col->addWidget(ListBox1, 1);
    // Only the candidate's own choices count as a change of the item.
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_showingChoices)
            ErrorGuard::run([this] { ComboBox1Change(); });
    });
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_showingChoices && isVisible() && ListBox1->hasFocus())
            ErrorGuard::run([this] { ListBox1Click(); });
    });
    connect(ListBox1, &QListWidget::itemClicked, this, guarded(this, &TSamplerForm::ListBox1Click));
    return page;
}

QWidget* TSamplerForm::makeChoicesPage()
{
    auto* page = new QWidget;
    auto* col = new QVBoxLayout(page);
    col->addWidget(
        pageLine(QStringLiteral("Enter the responce choices and mark the correct choice(s)."), page));
    ScrollBox1 = new QScrollArea(page);
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* rows = new QWidget;
    for (int i = 0; i < ItemRecord::ChoiceCount; ++i) {
        const int y = RowTop + i * RowStep;
        AnswerBox[i] = new DBCheckBox(QString(QChar('a' + i)) + QLatin1Char('.'), rows);
        AnswerBox[i]->setValues(QStringLiteral("True"), QStringLiteral("False"));
        AnswerBox[i]->move(BoxLeft, y + 2);
        AnswerBox[i]->adjustSize();
        ChoiceEdit[i] = new DBEdit(rows);
        ChoiceEdit[i]->setAccessibleName(QStringLiteral("Choice %1").arg(QChar('a' + i)));
        ChoiceEdit[i]->move(EditLeft, y);
        ChoiceEdit[i]->resize(300, 24);
    }
    rows->setMinimumHeight(RowTop + ItemRecord::ChoiceCount * RowStep + 4);
    ScrollBox1->setWidget(rows);
    ScrollBox1->viewport()->installEventFilter(this);
    col->addWidget(ScrollBox1, 1);
    return page;
}

QWidget* TSamplerForm::makeExplanationPage()
{
    auto* page = new QWidget;
    auto* col = new QVBoxLayout(page);
    col->addWidget(pageLine(QStringLiteral("Enter the explanation text."), page));
    DBMemo2 = new DBMemo(page);
    DBMemo2->setAccessibleName(QStringLiteral("Explanation"));
    DBMemo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo2->setTabChangesFocus(true);
    col->addWidget(DBMemo2, 1);
    return page;
}

void TSamplerForm::FormCreate()
{
    ShowTypeAndSection(0, 0); // the section list is still empty: nothing selected
}

bool TSamplerForm::editing() const
{
    const Table::State s = m_dm.dtUserSet->state();
    return s == Table::State::Edit || s == Table::State::Insert;
}

void TSamplerForm::Prepare(const QStringList& sections)
{
    ListBox1->clear();
    ListBox1->addItems(sections);
    PageControl1->setCurrentWidget(TabSheet1);
}

void TSamplerForm::ShowUserSetState(const UserSetView& view)
{
    if (view.editing) {
        BitBtn1->setEnabled(*view.editing);
        BitBtn2->setEnabled(*view.editing);
    }
    for (auto it = view.panels.cbegin(); it != view.panels.cend(); ++it)
        StatusBar1->setPanelText(it.key(), it.value());
    if (view.record) {
        const int row =
            UserSetStatus::sectionRow(view.record->section, view.record->sectionIsNull, ListBox1->count());
        ShowTypeAndSection(UserSetStatus::typeIndex(view.record->multiple), row);
    }
    if (view.empty) {
        EditAct->setEnabled(false);
        DelAct->setEnabled(false);
    }
    if (view.heading)
        fcLabel4->setText(*view.heading);
}

void TSamplerForm::ShowTypeAndSection(int typeIndex, int sectionRow)
{
    QScopedValueRollback<bool> showing(m_showingChoices, true);
    ComboBox1->setCurrentIndex(typeIndex);
    if (sectionRow >= 0 && sectionRow < ListBox1->count()) {
        ListBox1->setCurrentRow(sectionRow);
    } else {
        ListBox1->clearSelection();
        ListBox1->setCurrentRow(-1);
    }
}

int TSamplerForm::SelectedSection() const
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : ListBox1->row(selected.first());
}

void TSamplerForm::EnableActions(bool Value)
{
    AddAct->setEnabled(Value);
    EditAct->setEnabled(Value);
    DelAct->setEnabled(Value);
    fcDBTreeView1->setEnabled(Value);
    DBNavigator1->setEnabled(Value);
}

void TSamplerForm::AddActExecute()
{
    PageControl1->setCurrentWidget(TabSheet1);
    DBMemo1->setFocus();
    EnableActions(false);
    try {
        m_dm.dtUserSet->insert();
    } catch (...) {
        EnableActions(true); // nothing is being added: keep the window usable
        throw;
    }
    // A new item goes to the section shown, the first when none is.
    if (SelectedSection() < 0 && ListBox1->count() > 0)
        ShowTypeAndSection(ComboBox1->currentIndex(), 0);
}

void TSamplerForm::EditActExecute()
{
    EnableActions(false);
    try {
        m_dm.dtUserSet->edit();
    } catch (...) {
        EnableActions(true);
        throw;
    }
}

void TSamplerForm::DelActExecute()
{
    if (Dialogs::message(this, Dialogs::Icon::Question, QStringLiteral("Are you sure to delete this item?"),
                         Dialogs::Ok | Dialogs::Cancel, Dialogs::Ok, Dialogs::Cancel) != Dialogs::Ok)
        return;
    m_dm.dtUserSet->deleteRecord();
}

void TSamplerForm::BitBtn1Click()
{
    using namespace ItemRecord;
    Table* t = m_dm.dtUserSet;
    if (t->state() == Table::State::Insert && SelectedSection() < 0) {
        // The section was taken off: a new item belongs to one, the score
        // report has a row for each.
        PageControl1->setCurrentWidget(TabSheet2);
        ListBox1->setFocus();
        Dialogs::message(this, Dialogs::Icon::Warning, QStringLiteral("Please select the item's section."),
                         Dialogs::Ok, Dialogs::Ok, Dialogs::Ok);
        return; // back to adding, nothing stored
    }
    if (const std::optional<bool> multiple = UserSetStatus::typeOf(ComboBox1->currentIndex()))
        t->fieldByName(Q_TYPE).setAsBoolean(*multiple);
    t->fieldByName(Q_SECT).setAsInteger(UserSetStatus::sectionOf(SelectedSection()));
    const QString fault = ItemCheck::neverCorrectReason(*t);
    if (!fault.isEmpty() &&
        Dialogs::message(this, Dialogs::Icon::Warning, ItemCheck::saveAnywayQuestion(fault),
                         Dialogs::Ok | Dialogs::Cancel, Dialogs::Ok, Dialogs::Cancel) != Dialogs::Ok)
        return; // back to editing, nothing stored
    t->post();
    StatusBar1->setPanelText(UserSetStatus::ChangePanel, UserSetStatus::savedPanel());
    EnableActions(true);
}

void TSamplerForm::BitBtn2Click()
{
    EnableActions(true);
    m_dm.dtUserSet->cancel();
    StatusBar1->setPanelText(UserSetStatus::ChangePanel, QString());
}

void TSamplerForm::ComboBox1Change()
{
    Table* t = m_dm.dtUserSet;
    // With no item shown the choice only presets the next new item.
    if (t->state() == Table::State::Browse && t->bookmark() >= 0)
        t->edit();
}

void TSamplerForm::ListBox1Click()
{
    Table* t = m_dm.dtUserSet;
    if (t->state() == Table::State::Browse && t->bookmark() >= 0)
        t->edit();
}

void TSamplerForm::TabSheet2Enter()
{
    ListBox1->setFocus();
}

void TSamplerForm::Emptyquestionset1Click()
{
    if (Dialogs::message(
            this, Dialogs::Icon::Warning,
            QStringLiteral("This action will erase all items in this question set!\nAre you sure?"),
            Dialogs::Ok | Dialogs::Cancel, Dialogs::Ok, Dialogs::Cancel) != Dialogs::Ok)
        return;
    // A pending addition or edit goes as with "Cancel", which also gives the
    // actions back.
    if (editing())
        BitBtn2Click();
    Table* t = m_dm.dtUserSet;
    t->close();
    try {
        t->setExclusive(true);
        t->open();
    } catch (...) {
        // Someone else holds the set: go on with it as it was.
        t->setExclusive(false);
        try {
            t->open();
        } catch (...) {
        }
        throw;
    }
    t->emptyTable();
}

void TSamplerForm::Exit1Click()
{
    close();
}

void TSamplerForm::About1Click()
{
    TAboutForm about(this);
    Dialogs::execModal(&about);
}

void TSamplerForm::PageControl1Resize()
{
    const int width = ScrollBox1->viewport()->width();
    for (DBEdit* edit : ChoiceEdit)
        edit->resize(std::max(20, width - edit->x() - EditRightGap), edit->height());
}

bool TSamplerForm::FormCloseQuery()
{
    return Dialogs::message(this, Dialogs::Icon::Question, QStringLiteral("Are you sure to exit?"),
                            Dialogs::Ok | Dialogs::Cancel, Dialogs::Ok, Dialogs::Cancel) == Dialogs::Ok;
}

void TSamplerForm::FormClose()
{
    if (editing())
        BitBtn2Click();
    m_dm.dtUserSet->close();
    m_dm.dtUserSet->setExclusive(false);
}

void TSamplerForm::done(int result)
{
    bool mayClose = false;
    ErrorGuard::run([&] { mayClose = FormCloseQuery(); });
    if (!mayClose)
        return;
    ErrorGuard::run([this] { FormClose(); });
    QDialog::done(result);
}

void TSamplerForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous() || m_dm.dtUserSet->state() != Table::State::Browse)
        return;
    // The window opens browsing: everything enabled, then the first item's
    // type and section shown in their choices (the section list was filled
    // after the set was opened).
    EnableActions(true);
    ErrorGuard::run([this] { m_dm.dsUserSetDataChange(QString()); });
}

void TSamplerForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // Esc presses "Cancel"; it never closes the window.
        if (BitBtn2->isEnabled())
            BitBtn2->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TSamplerForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize &&
        (watched == PageControl1 || (ScrollBox1 && watched == ScrollBox1->viewport())))
        PageControl1Resize();
    return QDialog::eventFilter(watched, event);
}

// ---- question files: import and export ---------------------------------------

void TSamplerForm::makeTransferActions(QMenu* file)
{
    Import1 = file->addAction(QStringLiteral("&Import Questions..."));
    Export1 = file->addAction(QStringLiteral("Ex&port Questions..."));
    N2 = file->addSeparator();
    connect(Import1, &QAction::triggered, this, guarded(this, &TSamplerForm::Import1Click));
    connect(Export1, &QAction::triggered, this, guarded(this, &TSamplerForm::Export1Click));
    ImportSectionForm = new TImportSectionForm(this);
    ImportProgressForm = new TImportProgressForm(this);
    m_transferDir = QDir::homePath();
    m_importFilter = QuestionFile::giftFilter();
    m_exportFilter = QuestionFile::giftFilter();
}

// An item being added or edited is given up as on closing the window, after
// the same kind of question; nothing is dropped until the import or export
// really goes ahead.
bool TSamplerForm::mayLeaveItem()
{
    if (!editing())
        return true;
    return Dialogs::message(
               this, Dialogs::Icon::Question,
               QStringLiteral("The item being added or edited will be discarded.\nAre you sure?"),
               Dialogs::Ok | Dialogs::Cancel, Dialogs::Ok, Dialogs::Cancel) == Dialogs::Ok;
}

void TSamplerForm::Import1Click()
{
    Table* t = m_dm.dtUserSet;
    if (!t->isOpen() || !mayLeaveItem())
        return;
    QString filter = m_importFilter;
    const QString path = Dialogs::getOpenFileName(this, QStringLiteral("Import Questions"), m_transferDir,
                                                  QuestionFile::importFilters(), &filter);
    if (path.isEmpty())
        return;
    m_transferDir = QFileInfo(path).absolutePath();
    m_importFilter = filter;
    // Read and checked on a worker, so a large file keeps the window
    // answering and can be cancelled; nothing is added before it is whole.
    ImportJob job(path, QuestionFile::importFormat(filter, path));
    if (!ImportProgressForm->follow(job, QFileInfo(path).fileName()))
        return;
    const ImportResult result = job.result();
    if (!result.ok()) {
        ImportProgressForm->finish();
        Dialogs::message(this, Dialogs::Icon::Warning,
                         ImportRules::failureMessage(QFileInfo(path).fileName(), result), Dialogs::Ok,
                         Dialogs::Ok, Dialogs::Ok);
        return;
    }
    int section = 0;
    if (const int unsorted = UserSetTransfer::unsortedCount(result.items)) {
        ImportProgressForm->finish();
        ImportSectionForm->Prepare(unsorted);
        if (Dialogs::execModal(ImportSectionForm) != QDialog::Accepted)
            return;
        section = ImportSectionForm->chosenSection();
    }
    if (editing())
        BitBtn2Click();
    ImportProgressForm->beginAdding(int(result.items.size()));
    const auto done = qScopeGuard([this] { ImportProgressForm->finish(); });
    const QList<qint64> ids = UserSetTransfer::appendAll(
        *t, result.items, section, [this](int i) { return ImportProgressForm->adding(i); });
    if (ids.isEmpty())
        return; // cancelled: nothing was added
    EnableActions(true);
    StatusBar1->setPanelText(UserSetStatus::ChangePanel, QStringLiteral(" Imported: %1").arg(ids.size()));
    Dialogs::information(this, ImportRules::importedMessage(int(ids.size()), result));
}

void TSamplerForm::Export1Click()
{
    Table* t = m_dm.dtUserSet;
    if (!t->isOpen() || !mayLeaveItem())
        return;
    QString filter = m_exportFilter;
    QString path = Dialogs::getSaveFileName(this, QStringLiteral("Export Questions"), m_transferDir,
                                            QuestionFile::exportFilters(), &filter);
    if (path.isEmpty())
        return;
    QuestionFile::Format format = QuestionFile::formatOfFilter(filter);
    if (format == QuestionFile::Format::Unknown)
        format = QuestionFile::Format::Gift;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QuestionFile::suffix(format);
    m_transferDir = QFileInfo(path).absolutePath();
    m_exportFilter = filter;
    if (editing())
        BitBtn2Click();
    const QList<TransferItem> items = UserSetTransfer::readAll(*t);
    QStringList notes;
    QString error;
    if (!QuestionFile::write(path, format, items, &notes, &error)) {
        Dialogs::error(this, error);
        return;
    }
    StatusBar1->setPanelText(UserSetStatus::ChangePanel, QStringLiteral(" Exported: %1").arg(items.size()));
    if (notes.isEmpty())
        return;
    QList<ImportProblem> listed;
    for (const QString& note : notes)
        listed << ImportProblem{0, note};
    Dialogs::information(this, QStringLiteral("%1 questions were exported to \"%2\". The file does not carry "
                                              "everything as the set holds it:\n\n")
                                       .arg(items.size())
                                       .arg(QFileInfo(path).fileName()) +
                                   ImportRules::listing(listed));
}
