#pragma once

#include <QObject>
#include <functional>

class QPushButton;
class QWidget;

// A presenter's remote and the keyboard on the stage: PageDown, PageUp, the arrows, Space,
// Return and Enter press the one button the draw needs next, never the button that happens to
// have the focus. Keys typed in other windows are left alone.
class PresenterKeys : public QObject
{
    Q_OBJECT
public:
    // `target` names the button to press now, or nullptr when the keys do nothing.
    PresenterKeys(QWidget *stage, std::function<QPushButton *()> target);

    static bool isPresenterKey(int key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_stage;
    std::function<QPushButton *()> m_target;
};
