#include "support/stage.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QStringListModel>
#include <QTest>

#include "windows/prize_settings_form.h"
#include "windows/start_lock_form.h"

Stage::Stage(const ProgramDir &dir)
{
    Q_UNUSED(dir); // the directory is already the program directory
    m_form = new MainForm();
    m_form->resultsPauseMs = 0;
    // Rounds are drawn start-tick-stop at once; the tests of the half-second rule set it back.
    m_form->minimumRollMs = 0;
    m_form->show();
}

Stage::~Stage()
{
    if (m_form) {
        if (StartLockForm *lock = m_form->startLock())
            delete lock;
        delete m_form.data();
    }
}

QString Stage::text(const QString &name) const
{
    if (auto *label = child<QLabel>(name))
        return label->text();
    if (auto *button = child<QPushButton>(name))
        return button->text();
    return QString();
}

bool Stage::shown(const QString &name) const
{
    QWidget *widget = child<QWidget>(name);
    return widget && !widget->isHidden();
}

QStringList Stage::enabledButtons() const
{
    QStringList names;
    for (const char *name : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6",
                             "Command7", "Command8", "Command9"}) {
        if (button(QLatin1String(name))->isEnabled())
            names.append(QLatin1String(name));
    }
    return names;
}

void Stage::click(const QString &buttonName)
{
    click(m_form, buttonName);
}

void Stage::click(QWidget *window, const QString &buttonName)
{
    // A click the operator could not make is a fault of the test, never silently nothing.
    auto *target = window->findChild<QPushButton *>(buttonName);
    if (!target)
        QFAIL(qPrintable(QStringLiteral("no button ") + buttonName));
    if (!target->isEnabled() || target->isHidden())
        QFAIL(qPrintable(QStringLiteral("button ") + buttonName +
                         QStringLiteral(" is not clickable")));
    QTest::mouseClick(target, Qt::LeftButton);
}

void Stage::confirmSettings()
{
    click(QStringLiteral("Command5"));
    click(m_form->prizeSettings(), QStringLiteral("ok"));
}

void Stage::loadRoster(const QString &rosterPath)
{
    dialog.setNextFileName(rosterPath);
    click(QStringLiteral("Command1"));
}

bool Stage::closeProgram()
{
    m_form->setAttribute(Qt::WA_DeleteOnClose);
    click(QStringLiteral("Command7"));
    return QTest::qWaitFor([this] { return m_form.isNull(); });
}

void Stage::unlock(const QString &password)
{
    click(QStringLiteral("Command8"));
    StartLockForm *lock = m_form->startLock();
    if (!lock)
        return;
    auto *entry = lock->findChild<QLineEdit *>(QStringLiteral("Text2"));
    entry->clear();
    QTest::keyClicks(entry, password);
    click(lock, QStringLiteral("Command1"));
}

void Stage::confirmAndLoad(const QString &rosterPath)
{
    confirmSettings();
    loadRoster(rosterPath);
}

void Stage::prepare(const QString &rosterPath)
{
    confirmAndLoad(rosterPath);
    unlock();
}

QString Stage::levelButton(int flag)
{
    return flag == 1   ? QStringLiteral("Command4")
           : flag == 2 ? QStringLiteral("Command3")
                       : QStringLiteral("Command2");
}

QStringList Stage::drawRound(int flag)
{
    click(levelButton(flag));
    m_form->Timer1_Timer();
    const QString shownNames = text(QStringLiteral("Label1"));
    click(levelButton(flag));
    QStringList names = shownNames.split(QStringLiteral("\r\n"));
    names.removeLast();
    return names;
}

static QStringList listItems(const MainForm &form, const QString &name)
{
    auto *view = form.findChild<QAbstractItemView *>(name);
    auto *model = qobject_cast<QStringListModel *>(view->model());
    return model->stringList();
}

QStringList Stage::log() const
{
    return listItems(*m_form, QStringLiteral("List1"));
}

QStringList Stage::acceptedLines() const
{
    return listItems(*m_form, QStringLiteral("List2"));
}
