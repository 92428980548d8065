#include "draw/names_label.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kColumnGap = 40.0; // pixels between columns at the base size

// A name is shown by at most this many characters; the text itself (what is recorded) is kept
// whole. A pathological entry of megabytes must not be measured on every tick.
constexpr qsizetype kMaxShownCharacters = 200;
} // namespace

NamesLabel::NamesLabel(const QString &name, QWidget *parent) : AutoSizeLabel(name, parent) {}

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

void NamesLabel::fitToArea(const QStringList &list, const QSizeF &area, double designPoints)
{
    // Sizes are estimated in proportion to the point size, then checked with the real metrics
    // of the chosen size; hinting can make a size a little wider than estimated.
    double base = designPoints;
    for (int attempt = 0; attempt < 12; ++attempt) {
        QFont trial = font();
        trial.setPointSizeF(base);
        const QFontMetricsF metrics(trial);
        std::vector<double> widths;
        widths.reserve(size_t(list.size()));
        for (const QString &n : list)
            widths.push_back(metrics.horizontalAdvance(n));
        m_fit = fitNames(widths, metrics.height(), base, area, kColumnGap * base / designPoints);

        const QFontMetricsF fitted(fittedFont());
        double widest = 0;
        for (const QString &n : list)
            widest = std::max(widest, fitted.horizontalAdvance(n));
        m_columnSize = QSize(int(std::ceil(widest)), int(std::ceil(fitted.height())));
        m_gap = int(std::lround(kColumnGap * m_fit.pointSize / designPoints));
        const QSize needed = captionSize();
        if ((needed.width() <= area.width() && needed.height() <= area.height()) ||
            m_fit.pointSize <= 8.0)
            break;
        // Shrink by how much the real layout overflows, at least a point at a time.
        const double overflow =
            std::max(needed.width() / area.width(), needed.height() / area.height());
        base = std::max(8.0, std::min(m_fit.pointSize - 1.0, m_fit.pointSize / overflow));
    }
}

QSize NamesLabel::captionSize() const
{
    if (!m_columnSize.isValid())
        return QSize(0, 0);
    return QSize(m_columnSize.width() * m_fit.columns + m_gap * (m_fit.columns - 1),
                 m_columnSize.height() * std::max(1, m_fit.rows));
}

void NamesLabel::refit()
{
    const QStringList list = names();
    const QSizeF area = m_stageArea.isValid() ? QSizeF(m_stageArea.size()) : QSizeF(1e6, 1e6);
    const double designPoints = font().pointSizeF();
    const QFontMetricsF designMetrics(font());
    double widestAtDesign = 0;
    for (const QString &n : list)
        widestAtDesign = std::max(widestAtDesign, designMetrics.horizontalAdvance(n));

    // A roll shows a new set of names every tick; while they need no more room than the last
    // reduced layout had, that layout still holds them all.
    const bool reduced = m_fit.columns > 1 || m_fit.pointSize < designPoints;
    if (!(reduced && m_fitCount == list.size() && widestAtDesign <= m_fitWidest &&
          m_fitArea == area && m_fitPoints == designPoints)) {
        fitToArea(list, area, designPoints);
        m_fitCount = list.size();
        m_fitWidest = widestAtDesign;
        m_fitArea = area;
        m_fitPoints = designPoints;
    }

    const QSize wanted = captionSize();
    int left = box().x() + (box().width() - wanted.width()) / 2;
    int top = box().y();
    if (m_stageArea.isValid()) {
        // Keep the whole block on the stage.
        left = std::clamp(left, m_stageArea.left(),
                          std::max(m_stageArea.left(), m_stageArea.right() + 1 - wanted.width()));
        top =
            std::min(top, std::max(m_stageArea.top(), m_stageArea.bottom() + 1 - wanted.height()));
    }
    setGeometry(left, top, wanted.width(), wanted.height());
    update();
}

void NamesLabel::paintEvent(QPaintEvent *)
{
    const QStringList list = names();
    if (list.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(fittedFont());
    painter.setPen(palette().color(QPalette::WindowText));
    const int columnWidth = m_columnSize.width();
    const int lineHeight = m_columnSize.height();
    const int gap = m_gap;
    for (int k = 0; k < list.size(); ++k) {
        const int column = k / std::max(1, m_fit.rows);
        const int row = k % std::max(1, m_fit.rows);
        const QRect cell(column * (columnWidth + gap), row * lineHeight, columnWidth, lineHeight);
        painter.drawText(cell, Qt::AlignHCenter | Qt::AlignTop, list[k]);
    }
}
