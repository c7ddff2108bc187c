#include "core/reports/ReportEngine.h"

#include "core/reports/ReportPipeline.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double Epsilon = 1e-6;

struct LaidBand
{
    double height = 0;
    QList<ReportElement> elements; // relative to the band's top-left corner
};

// The highest cut at or above limit that passes through no element: texts
// may be cut between two lines, anything else only above it.
double findCut(const QList<ReportElement>& elements, double limit)
{
    double cut = limit;
    bool moved = true;
    while (moved) {
        moved = false;
        for (const ReportElement& e : elements) {
            const double top = e.solidTop();
            if (!(top < cut - Epsilon && e.solidBottom() > cut + Epsilon))
                continue;
            double at = top;
            if (e.kind == ReportElement::Kind::Text && e.lineHeight > 0)
                at = top + std::floor((cut - top) / e.lineHeight + Epsilon) * e.lineHeight;
            if (at < cut - Epsilon) {
                cut = at;
                moved = true;
            }
        }
    }
    return cut;
}

// Splits a band at cut. With forced, elements that cannot be cut stay above
// (and overflow) rather than move down.
std::pair<LaidBand, LaidBand> splitBand(const LaidBand& band, double cut, bool forced)
{
    Q_ASSERT(cut >= 0);
    LaidBand above, below;
    above.height = cut;
    below.height = std::max(0.0, band.height - cut);
    for (const ReportElement& e : band.elements) {
        if (e.rect.top() >= cut - Epsilon) {
            ReportElement moved = e;
            moved.rect.translate(0, -cut);
            below.elements << moved;
        } else if (e.solidBottom() <= cut + Epsilon) {
            above.elements << e;
        } else if (e.kind == ReportElement::Kind::Text && e.lineHeight > 0) {
            const qsizetype k = std::clamp<qsizetype>(
                qsizetype(std::floor((cut - e.rect.top()) / e.lineHeight + Epsilon)), 0, e.lines.size());
            if (k > 0) {
                ReportElement head = e;
                head.lines = e.lines.mid(0, k);
                head.rect.setHeight(k * e.lineHeight);
                above.elements << head;
            }
            if (k < e.lines.size()) {
                ReportElement tail = e;
                tail.lines = e.lines.mid(k);
                const double top = std::max(0.0, e.rect.top() + k * e.lineHeight - cut);
                tail.rect = QRectF(e.rect.left(), top, e.rect.width(), tail.lines.size() * e.lineHeight);
                below.elements << tail;
            }
        } else if (forced) {
            above.elements << e;
        } else {
            ReportElement moved = e;
            moved.rect.translate(0, -cut);
            below.elements << moved;
        }
    }
    return {above, below};
}

double inkBottom(const LaidBand& band)
{
    double bottom = 0;
    for (const ReportElement& e : band.elements)
        bottom = std::max(bottom, e.solidBottom());
    return bottom;
}

class Pager
{
public:
    Pager(const ReportEngine& engine, ReportDocument& doc, const PrintContext& context)
        : m_engine(engine), m_doc(doc), m_context(context)
    {
        m_bottom = engine.PaperSize.height() - engine.Margins.bottom() - engine.PageFooter.Height;
        // A layout is designed so that the margins and the footer leave a page body.
        Q_ASSERT_X(m_bottom > engine.Margins.top(), "ReportEngine",
                   "no room between the top margin and the footer");
    }

    bool full() const { return m_full; }

    bool newPage()
    {
        if (m_engine.MaxPages > 0 && m_doc.pages.size() >= m_engine.MaxPages) {
            m_full = true;
            m_doc.truncated = true;
            return false;
        }
        m_doc.pages.append(ReportPage());
        m_y = m_engine.Margins.top();
        if (m_doc.pages.size() > 1)
            placeHeaderCut();
        m_fresh = true;
        m_freshTop = m_y;
        return true;
    }

    // The page header on a later page: what fits, never continued.
    void placeHeaderCut()
    {
        if (m_engine.PageHeader.isEmpty())
            return;
        LaidBand band = lay(m_engine.PageHeader);
        const double room = m_bottom - m_y;
        if (band.height > room + Epsilon)
            band = splitBand(band, std::max(0.0, findCut(band.elements, room)), false).first;
        append(band);
    }

    LaidBand lay(const ReportBand& b) const
    {
        ComponentLayout l = b.layout(m_context);
        return {l.height, l.elements};
    }

    void place(LaidBand band, bool keepTogether)
    {
        while (!m_full) {
            const double remaining = m_bottom - m_y;
            if (band.height <= remaining + Epsilon) {
                append(band);
                return;
            }
            // Blank space at the end of a band may fall off the page.
            if (inkBottom(band) <= remaining + Epsilon) {
                append(band);
                m_y = std::min(m_y, m_bottom);
                return;
            }
            const double freshRoom = m_bottom - m_freshTop;
            if (keepTogether && !m_fresh && inkBottom(band) <= freshRoom + Epsilon) {
                newPage();
                continue;
            }
            double cut = remaining > Epsilon ? findCut(band.elements, remaining) : 0;
            bool forced = false;
            if (cut <= Epsilon) {
                if (!m_fresh) {
                    newPage();
                    continue;
                }
                if (remaining <= Epsilon) { // a page header leaves no room at all
                    m_full = true;
                    break;
                }
                cut = remaining;
                forced = true;
            }
            auto [above, below] = splitBand(band, cut, forced);
            append(above);
            band = below;
            if (band.elements.isEmpty())
                return;
            newPage();
        }
        if (!band.elements.isEmpty())
            m_doc.truncated = true;
    }

    void append(const LaidBand& band)
    {
        Q_ASSERT(!m_doc.pages.isEmpty()); // run() starts the first page before any band
        ReportPage& page = m_doc.pages.last();
        for (ReportElement e : band.elements) {
            e.rect.translate(m_engine.Margins.left(), m_y);
            page.elements << e;
        }
        m_y += band.height;
        if (!band.elements.isEmpty() || band.height > Epsilon)
            m_fresh = false;
    }

    void placeFooters(PrintContext& context)
    {
        if (m_engine.PageFooter.isEmpty())
            return;
        const double top =
            m_engine.PaperSize.height() - m_engine.Margins.bottom() - m_engine.PageFooter.Height;
        for (int i = 0; i < m_doc.pages.size(); ++i) {
            context.pageNumber = i + 1;
            const ComponentLayout l = m_engine.PageFooter.layout(context);
            for (ReportElement e : l.elements) {
                e.rect.translate(m_engine.Margins.left(), top);
                m_doc.pages[i].elements << e;
            }
        }
    }

private:
    const ReportEngine& m_engine;
    ReportDocument& m_doc;
    const PrintContext& m_context;
    double m_bottom = 0;
    double m_y = 0;
    double m_freshTop = 0;
    bool m_fresh = true;
    bool m_full = false;
};
} // namespace

ReportEngine::ReportEngine() = default;

ReportDocument ReportEngine::run(const TextMeasurer& measurer, const QDate& printDate) const
{
    Q_ASSERT(PaperSize.width() > 0 && PaperSize.height() > 0);
    Q_ASSERT(Margins.left() >= 0 && Margins.top() >= 0 && Margins.right() >= 0 && Margins.bottom() >= 0);
    ReportDocument doc;
    doc.name = DocumentName;
    doc.paperMm = PaperSize;
    doc.marginsMm = Margins;

    PrintContext context(measurer, DataPipeline, 1, printDate);
    Pager pager(*this, doc, context);
    pager.newPage();
    if (!Title.isEmpty())
        pager.place(pager.lay(Title), false);
    if (!PageHeader.isEmpty())
        pager.place(pager.lay(PageHeader), false);
    if (DataPipeline) {
        for (DataPipeline->first(); !DataPipeline->eof() && !pager.full(); DataPipeline->next())
            pager.place(pager.lay(Detail), true);
    } else if (!Detail.isEmpty()) {
        pager.place(pager.lay(Detail), true);
    }
    pager.placeFooters(context);
    return doc;
}
