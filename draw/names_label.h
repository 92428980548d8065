#pragma once

#include "draw/name_fit.h"
#include "platform/auto_size_label.h"

// The stage label for the rolling names and the winners. Its text is the names, each followed by
// CR LF, exactly as recorded; when a round's names do not fit the stage area at the label's
// font, they are shown smaller and, where that is not enough, in columns.
class NamesLabel : public AutoSizeLabel
{
    Q_OBJECT
public:
    explicit NamesLabel(const QString &name, QWidget *parent = nullptr);

    // The part of the stage the names may use, in the parent's pixels.
    void setStageArea(const QRect &area);
    NameFit currentFit() const { return m_fit; }

protected:
    QSize captionSize() const override;
    void refit() override;
    void paintEvent(QPaintEvent *event) override;

private:
    QStringList names() const;
    QFont fittedFont() const;
    void fitToArea(const QStringList &list, const QSizeF &area, double designPoints);

    QRect m_stageArea;
    NameFit m_fit;
    QSize m_columnSize;
    int m_gap = 0;
    // What the current fit was made for.
    qsizetype m_fitCount = -1;
    double m_fitWidest = 0;
    QSizeF m_fitArea;
    double m_fitPoints = 0;
};
