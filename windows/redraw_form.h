#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

// "补抽": the winners of the last stopped round, one check box each, for the operator to tick
// those who are not in the hall. Up to 12 are all in view; a longer round scrolls and can be
// filtered by text.
class RedrawForm : public QWidget
{
    Q_OBJECT
public:
    explicit RedrawForm(const QStringList &winners, QWidget *parent = nullptr);

    void showForward();
    // The positions (in stage order) of the ticked winners.
    QList<int> ticked() const;

signals:
    // 开始补抽 with at least one winner ticked; the owner closes the window once it starts.
    void startRequested(const QList<int> &ticked);

public slots:
    void start_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Shows only the winners whose text holds `text` (all when empty); ticks are kept.
    void filter(const QString &text);

    QStringList m_winners; // in stage order, one box each
    QList<QCheckBox *> m_boxes;
    QLineEdit *m_filter = nullptr; // with more winners than rows in view
    QPushButton *m_start = nullptr;
    bool m_shownBefore = false;
};
