#include "draw/names_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kColumnGap = 40.0; // pixels between columns at the base size
constexpr double kSmallestPoints = 8.0;
constexpr int kPageIntervalMs = 5000;

// A name is shown by at most this many characters; the text itself (what is recorded) is kept
// whole. A pathological entry of megabytes must not be measured on every tick.
constexpr qsizetype kMaxShownCharacters = 200;
// A roll keeps its reduced layout while the names it shows are about as wide as the ones the
// layout was made for: no jumping sizes from tick to tick, yet one long entry that has passed
// does not keep every later set small.
constexpr double kKeepLayoutWidthShare = 0.8;
// The widths a layout makes room for, at `metrics`: an entry too wide for the stage at the
// label's own size (`tooWide`) gets only as much room as the widest of the others, and shows
// its head and "…" there. So one long entry does not make a whole round small.
// How tall a character stands on the stage: the ink of a full Chinese character, not the line.
double visibleHeight(const QFont &font)
{
    const QFontMetricsF metrics(font);
    const double ink = metrics.tightBoundingRect(QStringLiteral("国")).height();
    return ink > 0 ? ink : metrics.capHeight();
}

// Between columns: at least two characters' width, so that an entry never reads as part of its
// neighbour.
double gapBetweenColumns(const QFont &font, double points, double designPoints)
{
    QFont sized = font;
    sized.setPointSizeF(points);
    return std::max(kColumnGap * points / designPoints,
                    2.0 * QFontMetricsF(sized).horizontalAdvance(QStringLiteral("国")));
}

std::vector<double> roomWidths(const QStringList &list, const std::vector<bool> &tooWide,
                               const QFontMetricsF &metrics, double stageRoom)
{
    std::vector<double> widths;
    widths.reserve(size_t(list.size()));
    double widestOther = 0;
    for (qsizetype k = 0; k < list.size(); ++k) {
        widths.push_back(tooWide[size_t(k)] ? 0.0 : metrics.horizontalAdvance(list[k]));
        widestOther = std::max(widestOther, widths.back());
    }
    const double cap = widestOther > 0 ? widestOther : stageRoom;
    for (size_t k = 0; k < widths.size(); ++k) {
        if (tooWide[k])
            widths[k] = cap;
    }
    return widths;
}
} // namespace

NamesLabel::NamesLabel(const QString &name, QWidget *parent)
    : AutoSizeLabel(name, parent), m_pages(new QTimer(this))
{
    m_pages->setInterval(kPageIntervalMs);
    connect(m_pages, &QTimer::timeout, this, &NamesLabel::nextPage);
}

void NamesLabel::setMinimumTextHeight(double pixels)
{
    if (m_minimumTextHeight == pixels)
        return;
    m_minimumTextHeight = pixels;
    m_fitCount = -1; // the fit was made for another floor
    refit();
}

void NamesLabel::setPageIntervalMs(int ms)
{
    m_pages->setInterval(ms);
}

QString NamesLabel::pageNote() const
{
    if (m_pageCount <= 1)
        return QString();
    return QStringLiteral("第 %1/%2 页").arg(m_page + 1).arg(m_pageCount);
}

QStringList NamesLabel::pageNames() const
{
    QStringList list = names();
    if (m_pageCount > 1)
        list = list.mid(qsizetype(m_page) * m_perPage, m_perPage);
    const QFontMetricsF metrics(fittedFont());
    for (QString &name : list) {
        if (metrics.horizontalAdvance(name) > m_columnSize.width())
            name = metrics.elidedText(name, Qt::ElideRight, m_columnSize.width());
    }
    return list;
}

std::vector<bool> NamesLabel::tooWideForStage(const QStringList &list) const
{
    const QFontMetricsF metrics(font());
    const double room = m_stageArea.isValid() ? m_stageArea.width() : 1e6;
    std::vector<bool> tooWide;
    tooWide.reserve(size_t(list.size()));
    for (const QString &n : list)
        tooWide.push_back(metrics.horizontalAdvance(n) > room);
    return tooWide;
}

double NamesLabel::shownTextHeight() const
{
    return visibleHeight(fittedFont());
}

void NamesLabel::nextPage()
{
    if (m_pageCount <= 1) {
        m_pages->stop();
        return;
    }
    m_page = (m_page + 1) % m_pageCount;
    update();
}

double NamesLabel::minimumPoints(double designPoints) const
{
    // The point size whose line height is the minimum text height, never below the smallest.
    const double designHeight = visibleHeight(font());
    if (m_minimumTextHeight <= 0 || designHeight <= 0)
        return kSmallestPoints;
    return std::max(kSmallestPoints, designPoints * m_minimumTextHeight / designHeight);
}

NamesLabel::Layout NamesLabel::pagedLayout(const QStringList &list,
                                           const std::vector<bool> &tooWide, const QSizeF &area,
                                           double designPoints) const
{
    // At the smallest size the names may have: as many columns and rows as the area holds, one
    // line kept for the page note.
    double points = minimumPoints(designPoints);
    QFont trial = font();
    trial.setPointSizeF(points);
    // Hinting can leave the chosen size a little short of the height asked for.
    while (m_minimumTextHeight > 0 && visibleHeight(trial) < m_minimumTextHeight) {
        points += 0.25;
        trial.setPointSizeF(points);
    }
    const QFontMetricsF metrics(trial);
    double widest = metrics.horizontalAdvance(QStringLiteral("第 99/99 页"));
    for (double w : roomWidths(list, tooWide, metrics, area.width()))
        widest = std::max(widest, w);
    Layout layout;
    layout.columnSize =
        QSize(int(std::ceil(std::min(widest, area.width()))), int(std::ceil(metrics.height())));
    layout.gap = int(std::ceil(gapBetweenColumns(font(), points, designPoints)));
    const int columns =
        std::max(1, int((area.width() + layout.gap) /
                        double(std::max(1, layout.columnSize.width() + layout.gap))));
    const int rows = std::max(1, int(area.height() / std::max(1, layout.columnSize.height())) - 1);
    layout.fit = NameFit{points, columns, rows};
    layout.perPage = columns * rows;
    return layout;
}

void NamesLabel::setStageArea(const QRect &area)
{
    m_stageArea = area;
    refit();
}

QStringList NamesLabel::names() const
{
    QStringList list = text().split(QStringLiteral("\r\n"));
    if (!list.isEmpty() && list.constLast().isEmpty())
        list.removeLast();
    for (QString &name : list) {
        if (name.size() > kMaxShownCharacters)
            name = name.left(kMaxShownCharacters) + u'…';
    }
    return list;
}

QFont NamesLabel::fittedFont() const
{
    QFont f = font();
    f.setPointSizeF(m_fit.pointSize > 0 ? m_fit.pointSize : font().pointSizeF());
    return f;
}

std::optional<NamesLabel::Layout> NamesLabel::singlePageLayout(const QStringList &list,
                                                               const std::vector<bool> &tooWide,
                                                               const QSizeF &area,
                                                               double designPoints) const
{
    // Sizes are estimated in proportion to the point size, then checked with the real metrics
    // of the chosen size; hinting can make a size a little wider than estimated.
    const double smallest = minimumPoints(designPoints);
    double base = designPoints;
    for (int attempt = 0; attempt < 12; ++attempt) {
        QFont trial = font();
        trial.setPointSizeF(base);
        const QFontMetricsF metrics(trial);
        Layout layout;
        layout.fit = fitNames(roomWidths(list, tooWide, metrics, area.width()), metrics.height(),
                              base, area, gapBetweenColumns(font(), base, designPoints), smallest);

        QFont fittedFace = font();
        fittedFace.setPointSizeF(layout.fit.pointSize);
        const QFontMetricsF fitted(fittedFace);
        double widest = 0;
        for (double w : roomWidths(list, tooWide, fitted, area.width()))
            widest = std::max(widest, w);
        layout.columnSize =
            QSize(int(std::ceil(std::min(widest, area.width()))), int(std::ceil(fitted.height())));
        layout.gap = int(std::ceil(gapBetweenColumns(font(), layout.fit.pointSize, designPoints)));
        const int columns = layout.fit.columns;
        const QSize needed(layout.columnSize.width() * columns + layout.gap * (columns - 1),
                           layout.columnSize.height() * std::max(1, layout.fit.rows));
        if (needed.width() <= area.width() && needed.height() <= area.height())
            return layout;
        if (layout.fit.pointSize <= smallest)
            break;
        // Shrink by how much the real layout overflows, at least a point at a time.
        const double overflow =
            std::max(needed.width() / area.width(), needed.height() / area.height());
        base = std::max(smallest,
                        std::min(layout.fit.pointSize - 1.0, layout.fit.pointSize / overflow));
    }
    return std::nullopt; // too many to read at the smallest size
}

void NamesLabel::fitToArea(const QStringList &list, const std::vector<bool> &tooWide,
                           const QSizeF &area, double designPoints)
{
    // The roll and its result page alike: when either would need pages, both show the same
    // number of names a page, so that a round does not stop on more pages than it rolled on.
    const NamesLabel *partner = m_partner;
    const double partnerPoints = partner ? partner->font().pointSizeF() : 0;
    const std::vector<bool> partnerTooWide =
        partner ? partner->tooWideForStage(list) : std::vector<bool>();
    const std::optional<Layout> single = singlePageLayout(list, tooWide, area, designPoints);
    if (single &&
        (!partner || partner->singlePageLayout(list, partnerTooWide, area, partnerPoints))) {
        apply(*single, list.size());
        return;
    }
    Layout paged = pagedLayout(list, tooWide, area, designPoints);
    if (partner) {
        const int perPage = std::max(
            1, std::min(paged.perPage,
                        partner->pagedLayout(list, partnerTooWide, area, partnerPoints).perPage));
        paged.fit.rows =
            std::min(paged.fit.rows, (perPage + paged.fit.columns - 1) / paged.fit.columns);
        paged.fit.columns = (perPage + paged.fit.rows - 1) / paged.fit.rows;
        paged.perPage = perPage;
    }
    apply(paged, list.size());
}

void NamesLabel::apply(const Layout &layout, qsizetype count)
{
    m_fit = layout.fit;
    m_columnSize = layout.columnSize;
    m_gap = layout.gap;
    m_perPage = layout.perPage;
    m_pageCount = layout.perPage > 0 ? int((count + layout.perPage - 1) / layout.perPage) : 1;
}

QSize NamesLabel::captionSize() const
{
    if (!m_columnSize.isValid())
        return QSize(0, 0);
    const int noteLines = m_pageCount > 1 ? 1 : 0;
    return QSize(m_columnSize.width() * m_fit.columns + m_gap * (m_fit.columns - 1),
                 m_columnSize.height() * (std::max(1, m_fit.rows) + noteLines));
}

void NamesLabel::refit()
{
    const QStringList list = names();
    const QSizeF area = m_stageArea.isValid() ? QSizeF(m_stageArea.size()) : QSizeF(1e6, 1e6);
    const double designPoints = font().pointSizeF();
    // One measure of every name at the label's size, on every tick: which are too wide for the
    // stage, and the room the widest of the others needs (the too wide get as much).
    const QFontMetricsF designMetrics(font());
    std::vector<bool> tooWide;
    tooWide.reserve(size_t(list.size()));
    double widestAtDesign = 0;
    for (const QString &n : list) {
        const double w = designMetrics.horizontalAdvance(n);
        tooWide.push_back(w > area.width());
        if (!tooWide.back())
            widestAtDesign = std::max(widestAtDesign, w);
    }
    if (widestAtDesign == 0 && std::find(tooWide.begin(), tooWide.end(), true) != tooWide.end())
        widestAtDesign = area.width();

    // A roll shows a new set of names every tick; while they need no more room than the last
    // reduced layout had, that layout still holds them all.
    const bool reduced = m_fit.columns > 1 || m_fit.pointSize < designPoints;
    const bool sameWidth =
        widestAtDesign <= m_fitWidest && widestAtDesign >= kKeepLayoutWidthShare * m_fitWidest;
    if (!(reduced && m_fitCount == list.size() && sameWidth && m_fitArea == area &&
          m_fitPoints == designPoints)) {
        const int pagesBefore = m_pageCount;
        m_pageCount = 1;
        fitToArea(list, tooWide, area, designPoints);
        // A new set of pages starts at its first; a roll's next names keep the page shown.
        if (m_pageCount != pagesBefore || m_fitCount != list.size())
            m_page = 0;
        m_fitCount = list.size();
        m_fitWidest = widestAtDesign;
        m_fitArea = area;
        m_fitPoints = designPoints;
    }

    const QSize wanted = captionSize();
    const int centre = m_centreX ? *m_centreX : box().x() + box().width() / 2;
    int left = centre - wanted.width() / 2;
    int top = box().y();
    if (m_stageArea.isValid()) {
        // Keep the whole block on the stage.
        left = std::clamp(left, m_stageArea.left(),
                          std::max(m_stageArea.left(), m_stageArea.right() + 1 - wanted.width()));
        top =
            std::min(top, std::max(m_stageArea.top(), m_stageArea.bottom() + 1 - wanted.height()));
    }
    setGeometry(left, top, wanted.width(), wanted.height());
    if (m_pageCount > 1 && !m_pages->isActive())
        m_pages->start();
    else if (m_pageCount <= 1)
        m_pages->stop();
    update();
}

QList<QRect> NamesLabel::pageCells() const
{
    return cellsFor(pageNames().size());
}

QList<QRect> NamesLabel::cellsFor(qsizetype count) const
{
    const int columnWidth = m_columnSize.width();
    const int lineHeight = m_columnSize.height();
    const int rows = std::max(1, m_fit.rows);
    // A last page of fewer columns stands in the middle, as the full pages do.
    const int used = int((count + rows - 1) / rows);
    const int indent = std::max(0, m_fit.columns - used) * (columnWidth + m_gap) / 2;
    QList<QRect> cells;
    for (qsizetype k = 0; k < count; ++k) {
        const int column = int(k / rows);
        const int row = int(k % rows);
        cells.append(QRect(indent + column * (columnWidth + m_gap), row * lineHeight, columnWidth,
                           lineHeight));
    }
    return cells;
}

void NamesLabel::paintEvent(QPaintEvent *)
{
    const QStringList list = pageNames();
    if (list.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(fittedFont());
    painter.setPen(palette().color(QPalette::WindowText));
    const QList<QRect> cells = cellsFor(list.size());
    for (qsizetype k = 0; k < list.size(); ++k)
        painter.drawText(cells[k], Qt::AlignHCenter | Qt::AlignTop, list[k]);
    if (m_pageCount > 1) {
        const int lineHeight = m_columnSize.height();
        const QRect note(0, std::max(1, m_fit.rows) * lineHeight, width(), lineHeight);
        painter.drawText(note, Qt::AlignHCenter | Qt::AlignTop, pageNote());
    }
}
