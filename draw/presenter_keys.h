#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <functional>

class QKeyEvent;
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
    // Whether a press is the key going down, not its auto-repeat: X11 repeats a held key as a
    // release and a press with the same timestamp, Windows as presses without a release.
    bool isNewPress(const QKeyEvent &press);
    void noteRelease(const QKeyEvent &release);

    QWidget *m_stage;
    std::function<QPushButton *()> m_target;
    QSet<int> m_held;                 // presenter keys down now
    QHash<int, quint64> m_releasedAt; // each key's last release, for X11's repeat pairs
};
