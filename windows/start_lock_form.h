#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// "键入密码启动抽奖系统": the prize buttons stay locked until the stored password is typed here.
class StartLockForm : public QWidget
{
    Q_OBJECT
public:
    explicit StartLockForm(QWidget *parent = nullptr);

    // Runs on every opening, once the owner has connected the signals.
    void Form_Load();
    void showForward();

signals:
    void loaded();   // the owner hides its list of accepted roster lines
    void unlocked(); // the owner unlocks the prize buttons and clears the stage

public slots:
    void Command1_Click();
    void Command2_Click();

private:
    QLineEdit *m_stored = nullptr; // Text1, hidden
    QLineEdit *m_entry = nullptr;  // Text2
    QPushButton *m_confirm = nullptr;
    bool m_shownBefore = false;
};
