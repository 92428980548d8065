#include "windows/redraw_form.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "platform/look.h"
#include "platform/message_box.h"
#include "windows/window_setup.h"

namespace {
// Rows shown without scrolling; a round of more winners scrolls inside the window.
constexpr int kVisibleRows = 12;
constexpr int kRowTwips = 330;
} // namespace

RedrawForm::RedrawForm(const QStringList &winners, QWidget *parent)
    : QWidget(parent), m_winners(winners)
{
    const int rows = std::clamp(int(winners.size()), 1, kVisibleRows);
    // With the stage as its parent the window is the stage's own: a click on the stage never
    // puts the stage above it, with a window manager or without.
    WindowSetup::makeDialogWindow(this, QStringLiteral("补抽"),
                                  QStringLiteral("补抽：请勾选未到场的中奖者"), 5400,
                                  rows * kRowTwips + 1200);
    // The box with the focus stands out at once, before any key was pressed in the window.
    setStyleSheet(QStringLiteral("QCheckBox:focus { background: palette(highlight);"
                                 " color: palette(highlighted-text); }"));

    auto *list = new QWidget;
    auto *listLayout = new QVBoxLayout(list);
    for (qsizetype k = 0; k < winners.size(); ++k) {
        // The text as the stage shows it, never as a mnemonic or markup.
        auto *box = new QCheckBox(QString(winners[k]).replace(u'&', QStringLiteral("&&")), list);
        box->setObjectName(QStringLiteral("Check%1").arg(k + 1));
        listLayout->addWidget(box);
        m_boxes.append(box);
    }
    listLayout->addStretch();
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("winners"));
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Up to 12 rows, every one in view: the list is as tall as its boxes need.
    const int rowPitch =
        m_boxes.isEmpty() ? 0 : m_boxes.first()->sizeHint().height() + listLayout->spacing();
    const QMargins margins = listLayout->contentsMargins();
    scroll->setMinimumHeight(rows * rowPitch + margins.top() + margins.bottom() +
                             2 * scroll->frameWidth());

    m_start = new QPushButton(QStringLiteral("开始补抽"), this);
    m_start->setObjectName(QStringLiteral("start"));
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    if (winners.size() > kVisibleRows) {
        // A long round is found by typing part of a name or number.
        m_filter = new QLineEdit(this);
        m_filter->setObjectName(QStringLiteral("filter"));
        m_filter->setPlaceholderText(QStringLiteral("输入姓名或编号查找"));
        m_filter->setClearButtonEnabled(true);
        connect(m_filter, &QLineEdit::textChanged, this, &RedrawForm::filter);
        layout->addWidget(m_filter);
    }
    layout->addWidget(scroll);
    layout->addLayout(buttons);
    // Never smaller than the rows and buttons need, whatever the twips gave.
    setFixedSize(width(), std::max(height(), layout->sizeHint().height()));

    // The check boxes first, in stage order, then the two buttons.
    QWidget *previous = m_filter;
    for (QCheckBox *box : m_boxes) {
        if (previous)
            setTabOrder(previous, box);
        previous = box;
    }
    if (previous)
        setTabOrder(previous, m_start);
    setTabOrder(m_start, cancel);

    connect(m_start, &QPushButton::clicked, this, &RedrawForm::start_Click);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

void RedrawForm::showForward()
{
    const bool first = !m_shownBefore;
    WindowSetup::showForward(this, m_shownBefore);
    if (first && !m_boxes.isEmpty()) {
        setAttribute(Qt::WA_KeyboardFocusChange); // styles draw the focus frame at once
        m_boxes.first()->setFocus(Qt::TabFocusReason);
    }
}

void RedrawForm::filter(const QString &text)
{
    const QString wanted = text.trimmed();
    for (qsizetype k = 0; k < m_boxes.size(); ++k)
        m_boxes[k]->setVisible(wanted.isEmpty() ||
                               m_winners[k].contains(wanted, Qt::CaseInsensitive));
}

QList<int> RedrawForm::ticked() const
{
    QList<int> positions;
    for (int k = 0; k < m_boxes.size(); ++k) {
        if (m_boxes[k]->isChecked())
            positions.append(k);
    }
    return positions;
}

void RedrawForm::start_Click()
{
    const QList<int> positions = ticked();
    if (positions.isEmpty()) {
        showMessage(QStringLiteral("请勾选未到场的中奖者！"));
        return;
    }
    emit startRequested(positions);
}

void RedrawForm::keyPressEvent(QKeyEvent *event)
{
    // 开始补抽 is the default button: Enter starts from any control of the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_start->click();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
