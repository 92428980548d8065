#pragma once

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <memory>

#include "draw/main_form.h"
#include "support/fake_dialogs.h"
#include "support/program_dir.h"

// The real main window in a test's program directory, driven the way an operator drives it.
class Stage
{
public:
    explicit Stage(const ProgramDir &dir);
    ~Stage();

    MainForm &form() { return *m_form; }
    bool isOpen() const { return !m_form.isNull(); }

    template <typename T = QWidget> T *child(const QString &name) const
    {
        return m_form->findChild<T *>(name);
    }
    QPushButton *button(const QString &name) const { return child<QPushButton>(name); }
    QString text(const QString &name) const;
    bool shown(const QString &name) const; // not hidden on the stage
    QStringList enabledButtons() const;

    // Clicks like a person; the test fails when the button is disabled or hidden.
    void click(const QString &buttonName);
    void click(QWidget *window, const QString &buttonName);

    // "奖项设置" then "确 定" on the values loaded from the settings file.
    void confirmSettings();
    // "读取验证数据" with the dialog answered by `rosterPath` (empty: cancelled).
    void loadRoster(const QString &rosterPath);
    // The settings confirmed, then the roster loaded.
    void confirmAndLoad(const QString &rosterPath);
    // "关闭", confirmed, as the program runs it (the window deletes itself); true once it is gone.
    bool closeProgram();
    // "启动抽奖机", the password typed, "确定".
    void unlock(const QString &password = QStringLiteral("52718364"));
    // The whole preparation: settings, roster, unlock.
    void prepare(const QString &rosterPath);

    static QString levelButton(int flag);
    // One round: start, one tick of the roll, stop. Returns the names shown at the stop.
    QStringList drawRound(int flag);

    QStringList log() const;           // List1
    QStringList acceptedLines() const; // List2

    FakeMessageBoxes boxes;
    FakeFileDialog dialog;

private:
    QPointer<MainForm> m_form;
};
