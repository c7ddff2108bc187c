#include "ui/review/TReviewForm.h"

#include "core/store/AnswerSheet.h"
#include "core/tables/Table.h"
#include "ui/review/ReviewListModel.h"
#include "ui/widgets/ControlNames.h"
#include "ui/widgets/ErrorGuard.h"
#include "ui/widgets/ScreenFit.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
const QColor SignRed(255, 0, 0);
const QColor SignBlue(0, 0, 255);

// A white square with a thin dark frame, ready for its sign.
QPixmap blankIcon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.fillRect(QRect(1, 1, 14, 14), Qt::white);
    p.setPen(QColor(64, 64, 64));
    p.drawRect(QRect(1, 1, 13, 13));
    return pm;
}

QPixmap exclamationIcon()
{
    QPixmap pm = blankIcon();
    QPainter p(&pm);
    p.fillRect(QRect(7, 3, 2, 7), SignRed);
    p.fillRect(QRect(7, 11, 2, 2), SignRed);
    return pm;
}

// A sign drawn as one stroke through the points, in a 16x16 icon.
QPixmap strokeIcon(const QPen& pen, std::initializer_list<QPointF> points)
{
    QPixmap pm = blankIcon();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(pen);
    QPainterPath path;
    path.moveTo(*points.begin());
    for (auto it = points.begin() + 1; it != points.end(); ++it)
        path.lineTo(*it);
    p.drawPath(path);
    return pm;
}

QPixmap checkIcon()
{
    return strokeIcon(QPen(SignBlue, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin),
                      {{4, 8}, {7, 11}, {12, 4}});
}

QPixmap letterMIcon()
{
    return strokeIcon(QPen(SignRed, 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin),
                      {{4, 12}, {4, 4}, {8, 9}, {12, 4}, {12, 12}});
}

QPixmap crossIcon()
{
    QPixmap pm = blankIcon();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(SignRed, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
    p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
    return pm;
}
} // namespace

const std::array<QPixmap, 4>& TReviewForm::ImageList1()
{
    static const std::array<QPixmap, 4> icons{exclamationIcon(), checkIcon(), letterMIcon(), crossIcon()};
    return icons;
}

TReviewForm::TReviewForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Items Review"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // A long exam's list needs more room: the window can be made larger.
    setMinimumSize(442, 372);
    resize(442, 372);
    setSizeGripEnabled(true);
    setModal(true);
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(10);
    setFont(f);

    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(6, 4, 6, 8);
    col->setSpacing(4);

    Panel5 = legendRow({{ReviewRow::Incomplete, QStringLiteral(" - incomplete   ")},
                        {ReviewRow::Complete, QStringLiteral(" - complete   ")},
                        {ReviewRow::Marked, QStringLiteral(" - marked   ")}});
    Panel4 = legendRow({{ReviewRow::Incorrect, QStringLiteral(" - incorrect item   ")},
                        {ReviewRow::Complete, QStringLiteral(" - correct item   ")}});
    col->addWidget(Panel5);
    col->addWidget(Panel4);

    auto* filterRow = new QHBoxLayout();
    filterRow->setContentsMargins(0, 0, 0, 0);
    FilterLabel = new QLabel(QStringLiteral("&Show:"), this);
    FilterBox = new QComboBox(this);
    FilterBox->setAccessibleName(QStringLiteral("Show"));
    FilterLabel->setBuddy(FilterBox);
    filterRow->addWidget(FilterLabel);
    filterRow->addWidget(FilterBox);
    filterRow->addStretch(1);
    col->addLayout(filterRow);

    ReviewModel = new ReviewListModel(this);
    ListView1 = new QListView(this);
    ListView1->setAccessibleName(QStringLiteral("Items"));
    ListView1->setModel(ReviewModel);
    // List style: rows run top to bottom, then on into further columns.
    ListView1->setViewMode(QListView::ListMode);
    ListView1->setFlow(QListView::TopToBottom);
    ListView1->setWrapping(true);
    ListView1->setResizeMode(QListView::Adjust);
    // Every row has the model's size: a long exam lays out without measuring.
    ListView1->setUniformItemSizes(true);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setSpacing(1);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Hover selection: the row under the pointer is selected.
    ListView1->setMouseTracking(true);
    col->addWidget(ListView1, 1);

    auto* buttons = new QHBoxLayout();
    buttons->setContentsMargins(0, 4, 0, 0);
    BitBtn2 = new QPushButton(QStringLiteral("&Go to the selected question"), this);
    BitBtn2->setMinimumWidth(230);
    BitBtn2->setEnabled(false);
    BitBtn1 = new QPushButton(QStringLiteral("&Return"), this);
    BitBtn1->setMinimumWidth(100);
    buttons->addWidget(BitBtn2);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    col->addLayout(buttons);

    connect(ListView1, &QListView::entered, this, [this](const QModelIndex& index) {
        if (index.isValid() && !ListView1->selectionModel()->isSelected(index))
            ListView1->setCurrentIndex(index);
    });
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { ErrorGuard::run([this] { ListView1SelectItem(); }); });
    connect(ListView1, &QListView::doubleClicked, this,
            [this](const QModelIndex&) { ErrorGuard::run([this] { ListView1DblClick(); }); });
    connect(FilterBox, &QComboBox::activated, this, guarded(this, &TReviewForm::FilterBoxChange));
    connect(BitBtn2, &QPushButton::clicked, this, guarded(this, &TReviewForm::BitBtn2Click));
    connect(BitBtn1, &QPushButton::clicked, this, guarded(this, &TReviewForm::BitBtn1Click));
    nameControls({{Panel5, "Panel5"},
                  {Panel4, "Panel4"},
                  {FilterLabel, "FilterLabel"},
                  {FilterBox, "FilterBox"},
                  {ListView1, "ListView1"},
                  {BitBtn2, "BitBtn2"},
                  {BitBtn1, "BitBtn1"}});
}

QWidget* TReviewForm::legendRow(const QList<QPair<ReviewRow::Icon, QString>>& pairs)
{
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 2, 0, 2);
    h->setSpacing(0);
    h->addStretch(1);
    for (const auto& [icon, caption] : pairs) {
        auto* picture = new QLabel(row);
        picture->setPixmap(ImageList1()[icon]);
        picture->setFixedSize(16, 16);
        auto* text = new QLabel(caption, row);
        text->setTextFormat(Qt::PlainText);
        h->addWidget(picture);
        h->addWidget(text);
    }
    return row;
}

void TReviewForm::BuildExamView(const AnswerSheet& sheet)
{
    buildView(sheet, false);
}

void TReviewForm::BuildResultsView(const AnswerSheet& sheet)
{
    buildView(sheet, true);
}

void TReviewForm::buildView(const AnswerSheet& sheet, bool results)
{
    using ReviewRow::Filter;
    m_chosenEntry = -1;
    BitBtn2->setEnabled(false); // nothing is selected in the new rows
    // The widest row text decides every row's size.
    const QFontMetrics fm(ListView1->font());
    const QString widest =
        QString(QString::number(qMax(sheet.size(), 1)).size(), QLatin1Char('8')) + QStringLiteral("  ABCDEF");
    ReviewModel->setRowSize(QSize(16 + 10 + fm.horizontalAdvance(widest), qMax(18, fm.height() + 2)));
    ReviewModel->setSheet(sheet, results ? ReviewListModel::View::Results : ReviewListModel::View::Exam);
    FilterBox->clear();
    FilterBox->addItem(QStringLiteral("All"), int(Filter::All));
    if (results)
        FilterBox->addItem(QStringLiteral("Incorrect"), int(Filter::Incorrect));
    else
        FilterBox->addItem(QStringLiteral("Unanswered"), int(Filter::Unanswered));
    FilterBox->addItem(QStringLiteral("Marked"), int(Filter::Marked));
    FilterBox->setCurrentIndex(0);
    if (sheet.isEmpty())
        return; // the legend rows stay as they were
    Panel5->setVisible(!results);
    Panel4->setVisible(results);
    layout()->activate(); // the header shrinks to the row shown
}

void TReviewForm::FilterBoxChange()
{
    const auto filter = ReviewRow::Filter(FilterBox->currentData().toInt());
    if (filter == ReviewModel->filter())
        return;
    ReviewModel->setFilter(filter);
    BitBtn2->setEnabled(false); // the selection went with the old rows
}

int TReviewForm::selectedEntry() const
{
    const QModelIndexList selected = ListView1->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return -1;
    return selected.first().data(ReviewListModel::EntryIndexRole).toInt();
}

void TReviewForm::ListView1SelectItem()
{
    BitBtn2->setEnabled(true);
}

void TReviewForm::BitBtn2Click()
{
    // The row's own item number, whatever the filter left above it.
    const int entry = selectedEntry();
    if (entry < 0)
        return;
    m_chosenEntry = entry;
    done(QDialog::Accepted);
}

void TReviewForm::ListView1DblClick()
{
    BitBtn2Click();
}

void TReviewForm::BitBtn1Click()
{
    done(QDialog::Rejected);
}

void TReviewForm::FormClose()
{
    BitBtn2->setEnabled(false);
}

void TReviewForm::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TReviewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ScreenFit::centre(this);
}
