#include "ui/review/TNoteForm.h"

#include "core/store/ItemRecord.h"
#include "core/tables/Table.h"
#include "ui/widgets/Contrast.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/ShadedLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>
#include <stdexcept>

TNoteForm::TNoteForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Examora"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(286, 222);
    setModal(true);

    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);

    auto* band = new QFrame(this);
    band->setFixedHeight(26);
    band->setAutoFillBackground(true);
    QPalette bp = band->palette();
    bp.setColor(QPalette::Window, QColor(0, 0, 128));
    band->setPalette(bp);
    auto* bandRow = new QHBoxLayout(band);
    bandRow->setContentsMargins(0, 0, 0, 0);
    fcLabel1 = new ShadedLabel(QStringLiteral("User Note"), band);
    QFont hf(QStringLiteral("Verdana"));
    hf.setStyleHint(QFont::SansSerif);
    hf.setPointSize(10);
    hf.setBold(true);
    fcLabel1->setFont(hf);
    fcLabel1->setTextColor(Qt::white);
    fcLabel1->setShadow(QColor(32, 32, 32), 1);
    fcLabel1->setAlignment(Qt::AlignCenter);
    bandRow->addWidget(fcLabel1);
    col->addWidget(band);

    auto* body = new QVBoxLayout();
    body->setContentsMargins(8, 4, 8, 8);
    body->setSpacing(4);
    Label2 = new QLabel(this);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setAlignment(Qt::AlignCenter);
    QFont lf = font();
    lf.setPointSize(10);
    Label2->setFont(lf);
    QPalette lp = Label2->palette();
    lp.setColor(QPalette::WindowText, Qt::black);
    lp.setColor(QPalette::Window, Contrast::behind(Qt::black, lp.color(QPalette::Window)));
    Label2->setPalette(lp);
    Label2->setAutoFillBackground(true);
    body->addWidget(Label2);

    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setAccessibleName(QStringLiteral("User Note"));
    DBMemo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    DBMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBMemo1->setTabChangesFocus(true);
    body->addWidget(DBMemo1, 1);

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(6);
    Button1 = new QPushButton(QStringLiteral("Save Note"), this);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button3 = new QPushButton(QStringLiteral("Exit"), this);
    for (QPushButton* b : {Button1, Button2, Button3})
        b->setAutoDefault(false);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    buttons->addWidget(Button3);
    body->addLayout(buttons);
    col->addLayout(body, 1);

    connect(DBMemo1, &QPlainTextEdit::textChanged, this, guarded(this, &TNoteForm::memoTextChanged));
    connect(Button1, &QPushButton::clicked, this, guarded(this, &TNoteForm::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &TNoteForm::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guarded(this, &TNoteForm::Button3Click));

    setButtonsEnabled(false);
    nameControls({{fcLabel1, "fcLabel1"},
                  {Label2, "Label2"},
                  {DBMemo1, "DBMemo1"},
                  {Button1, "Button1"},
                  {Button2, "Button2"},
                  {Button3, "Button3"}});
}

void TNoteForm::setTables(Table* currentSet, BankWriter saveToBank)
{
    bindCurrentSet(currentSet);
    m_saveToBank = std::move(saveToBank);
}

void TNoteForm::bindCurrentSet(Table* table)
{
    if (table == m_table)
        return;
    for (const auto& link : m_links)
        disconnect(link);
    m_links.clear();
    m_table = table;
    if (table) {
        m_links << connect(table->dataSource(), &DataSource::dataChanged, this,
                           guarded(this, &TNoteForm::tableDataChanged));
        m_links << connect(table->dataSource(), &DataSource::stateChanged, this,
                           guarded(this, &TNoteForm::tableStateChanged));
    }
    loadMemo();
}

void TNoteForm::captureCurrentItem(const QString& examTitle)
{
    m_itemRecNo = 0;
    m_itemId = 0;
    if (m_table && m_table->isOpen() && m_table->recNo() > 0) {
        m_itemRecNo = m_table->recNo();
        m_itemId = m_table->fieldByName(ItemRecord::Q_OR_NUMBER).asInteger();
    }
    Label2->setText(NoteLabel(examTitle, m_itemId));
}

bool TNoteForm::onItem() const
{
    return m_table && m_table->isOpen() && m_itemRecNo > 0 && m_table->recNo() == m_itemRecNo;
}

// A move to another record, a post or a cancel reloads the box; so does a
// change of the note field from elsewhere. The box's own writes are not echoed.
// While the window is open the box keeps its item's note, wherever the table
// has been moved.
void TNoteForm::tableDataChanged(const QString& fieldName)
{
    if (m_writing || (isVisible() && !onItem()))
        return;
    if (fieldName.isEmpty() || fieldName.compare(ItemRecord::U_MEMO, Qt::CaseInsensitive) == 0)
        loadMemo();
}

void TNoteForm::tableStateChanged()
{
    if (!m_table || m_table->isOpen())
        return;
    // The exam ended under the window (its score window's "Exit Exam"):
    // there is no item left to write a note on.
    if (isVisible())
        done(QDialog::Rejected);
    loadMemo();
}

void TNoteForm::loadMemo()
{
    QString text;
    if (m_table && m_table->isOpen() && m_table->recNo() > 0)
        text = m_table->fieldByName(ItemRecord::U_MEMO).asString();
    m_loading = true;
    DBMemo1->setPlainText(text);
    m_loading = false;
}

void TNoteForm::memoTextChanged()
{
    // Typing puts the item's record into editing; the text itself waits in
    // the box for "Save Note", so a move of the table cannot store it.
    if (!m_loading && onItem())
        m_table->edit();
    DBMemo1Change();
}

void TNoteForm::DBMemo1Change()
{
    setButtonsEnabled(true);
}

void TNoteForm::setButtonsEnabled(bool enabled)
{
    Button1->setEnabled(enabled);
    Button2->setEnabled(enabled);
}

void TNoteForm::Button1Click()
{
    Table* current = m_table;
    if (!current || m_itemRecNo <= 0)
        return;
    const QString note = DBMemo1->toPlainText();
    // First the current exam set, on the window's own item; a table moved
    // away under the window is put back where it was.
    {
        m_writing = true;
        const auto reset = qScopeGuard([this] { m_writing = false; });
        const bool away = !onItem();
        const qint64 mark = current->bookmark();
        if (away)
            current->setRecNo(m_itemRecNo);
        current->edit();
        current->fieldByName(ItemRecord::U_MEMO).setAsString(note);
        current->post();
        if (away)
            current->gotoBookmark(mark);
    }
    const qint64 itemId = m_itemId;

    // ...then the candidate's note on the bank item the exam item was copied
    // from. If that cannot be written the note stays saved in this exam, the
    // error is shown and the buttons stay enabled for another try.
    if (!m_saveToBank)
        throw std::runtime_error("The note window was given no question bank.");
    QString error;
    if (!m_saveToBank(itemId, note, &error))
        throw std::runtime_error(error.toStdString());
    setButtonsEnabled(false);
}

void TNoteForm::Button2Click()
{
    // The note as stored, from the item's record.
    if (m_table && m_table->isOpen() && m_itemRecNo > 0) {
        m_writing = true;
        const auto reset = qScopeGuard([this] { m_writing = false; });
        const qint64 mark = m_table->bookmark();
        const bool away = !onItem();
        m_table->cancel();
        if (away)
            m_table->setRecNo(m_itemRecNo);
        m_loading = true;
        DBMemo1->setPlainText(m_table->fieldByName(ItemRecord::U_MEMO).asString());
        m_loading = false;
        if (away)
            m_table->gotoBookmark(mark);
    }
    setButtonsEnabled(false);
}

void TNoteForm::Button3Click()
{
    done(QDialog::Rejected);
}

void TNoteForm::FormClose()
{
    if (m_table)
        m_table->cancel();
    // Closed, the box follows the current record again.
    loadMemo();
    setButtonsEnabled(false);
}

void TNoteForm::done(int result)
{
    ErrorGuard::run([this] { FormClose(); });
    QDialog::done(result);
}

void TNoteForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    DBMemo1->setFocus();
}
