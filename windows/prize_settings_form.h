#pragma once

#include <QWidget>
#include <array>

class QLineEdit;
class QPushButton;

// "公司及活动名称、奖项设置": the titles and the three prize levels. Its fields are the live
// prize configuration of the run; the roster load and the draw read them from here.
class PrizeSettingsForm : public QWidget
{
    Q_OBJECT
public:
    explicit PrizeSettingsForm(QWidget *parent = nullptr);

    // Text1 … Text14.
    QLineEdit *field(int number) const;
    QString fieldText(int number) const;
    // The six counts of the last confirmation, as read by the leading-number rule.
    const std::array<double, 6> &counts() const { return m_counts; }

    // Shows the window (centred the first time) or brings it forward.
    void showForward();

signals:
    void titlesChanged(const QString &company, const QString &activity);
    void accepted();

public slots:
    void ok_Click();
    void reset_Click();

private:
    void Form_Load();
    void buildControls();

    std::array<QLineEdit *, 15> m_fields{};
    QPushButton *m_ok = nullptr;
    QPushButton *m_reset = nullptr;
    std::array<double, 6> m_counts{};
    bool m_shownBefore = false;
};
