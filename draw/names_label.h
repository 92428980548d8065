#pragma once

#include <QPointer>
#include <optional>
#include <vector>

#include "draw/name_fit.h"
#include "platform/auto_size_label.h"

class QTimer;

// The stage label for the rolling names and the winners. Its text is the names, each followed by
// CR LF, exactly as recorded; when a round's names do not fit the stage area at the label's
// font, they are shown smaller and, where that is not enough, in columns. Names are never
// smaller than the minimum text height: a round too large for that is shown page by page, with
// a page note under the names and the next page every few seconds, looping.
class NamesLabel : public AutoSizeLabel
{
    Q_OBJECT
public:
    explicit NamesLabel(const QString &name, QWidget *parent = nullptr);

    // The part of the stage the names may use, in the parent's pixels.
    void setStageArea(const QRect &area);
    // The x the names are centred on, in the parent's pixels (the centre of the box when unset).
    void setCentreX(int x) { m_centreX = x; }
    // The label whose pages this one's match (the roll's and the result's), both ways.
    void setPartner(NamesLabel *partner) { m_partner = partner; }
    // The smallest line height names are shown at, in pixels (1/30 of the stage's height).
    void setMinimumTextHeight(double pixels);
    void setPageIntervalMs(int ms);
    NameFit currentFit() const { return m_fit; }

    int pageCount() const { return m_pageCount; } // 1 when every name is shown at once
    int currentPage() const { return m_page; }    // 0-based
    QString pageNote() const;                     // "第 1/3 页", empty without pages
    QStringList pageNames() const;                // the names shown now
    double shownTextHeight() const;               // the ink of a character, in pixels
    int columnGap() const { return m_gap; }       // pixels between two columns
    // Where each name of the current page is drawn, in the label's pixels.
    QList<QRect> pageCells() const;

protected:
    QSize captionSize() const override;
    void refit() override;
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList names() const;
    QFont fittedFont() const;
    std::vector<bool> tooWideForStage(const QStringList &list) const;
    // A layout of the names: on one page (no page count), or page by page.
    struct Layout
    {
        NameFit fit;
        QSize columnSize;
        int gap = 0;
        int perPage = 0; // 0: every name on one page
    };
    // `tooWide`: which names are wider than the stage at the label's own size.
    std::optional<Layout> singlePageLayout(const QStringList &list,
                                           const std::vector<bool> &tooWide, const QSizeF &area,
                                           double designPoints) const;
    Layout pagedLayout(const QStringList &list, const std::vector<bool> &tooWide,
                       const QSizeF &area, double designPoints) const;
    void fitToArea(const QStringList &list, const std::vector<bool> &tooWide, const QSizeF &area,
                   double designPoints);
    QList<QRect> cellsFor(qsizetype count) const;
    void apply(const Layout &layout, qsizetype count);
    double minimumPoints(double designPoints) const;
    void nextPage();

    QRect m_stageArea;
    std::optional<int> m_centreX;
    QPointer<NamesLabel> m_partner;
    double m_minimumTextHeight = 0;
    int m_pageCount = 1;
    int m_perPage = 0;
    int m_page = 0;
    QTimer *m_pages = nullptr;
    NameFit m_fit;
    QSize m_columnSize;
    int m_gap = 0;
    // What the current fit was made for.
    qsizetype m_fitCount = -1;
    double m_fitWidest = 0;
    QSizeF m_fitArea;
    double m_fitPoints = 0;
};
