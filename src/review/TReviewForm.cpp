#include "TReviewForm.h"

#include "exam/AnswerSheet.h"
#include "exam/TTestForm.h"
#include "tables/Table.h"
#include "widgets/ErrorGuard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TReviewForm* ReviewForm = nullptr;

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

QPixmap checkIcon()
{
    QPixmap pm = blankIcon();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(SignBlue, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    path.moveTo(4, 8);
    path.lineTo(7, 11);
    path.lineTo(12, 4);
    p.drawPath(path);
    return pm;
}

QPixmap letterMIcon()
{
    QPixmap pm = blankIcon();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(SignRed, 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    QPainterPath path;
    path.moveTo(4, 12);
    path.lineTo(4, 4);
    path.lineTo(8, 9);
    path.lineTo(12, 4);
    path.lineTo(12, 12);
    p.drawPath(path);
    return pm;
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
    setFixedSize(442, 372);
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
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel4 = legendRow({{ReviewRow::Incorrect, QStringLiteral(" - incorrect item   ")},
                        {ReviewRow::Complete, QStringLiteral(" - correct item   ")}});
    Panel4->setObjectName(QStringLiteral("Panel4"));
    col->addWidget(Panel5);
    col->addWidget(Panel4);

    ListView1 = new QListWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("Items"));
    // List style: rows run top to bottom, then on into further columns.
    ListView1->setViewMode(QListView::ListMode);
    ListView1->setFlow(QListView::TopToBottom);
    ListView1->setWrapping(true);
    ListView1->setResizeMode(QListView::Adjust);
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
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setMinimumWidth(230);
    BitBtn2->setEnabled(false);
    BitBtn1 = new QPushButton(QStringLiteral("&Return"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setMinimumWidth(100);
    buttons->addWidget(BitBtn2);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    col->addLayout(buttons);

    connect(ListView1, &QListWidget::itemEntered, this, [this](QListWidgetItem* item) {
        if (item && !item->isSelected())
            ListView1->setCurrentItem(item);
    });
    connect(ListView1, &QListWidget::itemSelectionChanged, this,
            guarded(this, &TReviewForm::ListView1SelectItem));
    connect(ListView1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem*) { ErrorGuard::run([this] { ListView1DblClick(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, guarded(this, &TReviewForm::BitBtn2Click));
    connect(BitBtn1, &QPushButton::clicked, this, guarded(this, &TReviewForm::BitBtn1Click));
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
    buildView(sheet, View::Exam);
}

void TReviewForm::BuildResultsView(const AnswerSheet& sheet)
{
    buildView(sheet, View::Results);
}

void TReviewForm::buildView(const AnswerSheet& sheet, View view)
{
    ListView1->clear();
    if (sheet.isEmpty())
        return;
    const auto& icons = ImageList1();
    for (int i = 0; i < sheet.size(); ++i) {
        const AnswerEntry& e = sheet[i];
        const ReviewRow::Icon icon = view == View::Exam ? ReviewRow::examIcon(e) : ReviewRow::resultsIcon(e);
        auto* item = new QListWidgetItem(QIcon(icons[icon]), ReviewRow::text(i, e));
        item->setData(Qt::UserRole, int(icon));
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        ListView1->addItem(item);
    }
    Panel5->setVisible(view == View::Exam);
    Panel4->setVisible(view == View::Results);
    layout()->activate(); // the header shrinks to the row shown
}

void TReviewForm::ListView1SelectItem()
{
    BitBtn2->setEnabled(true);
}

void TReviewForm::BitBtn2Click()
{
    const QList<QListWidgetItem*> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    const int p = ListView1->row(selected.first());
    TestForm->dtCurrentSet->setRecNo(p + 1);
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
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}
