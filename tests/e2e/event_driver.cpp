// A test-only driver of the real stage, run as a child process that the crash-safety test kills.
//   event_driver event PROGRAM_DIR ROSTER   draws third-prize rounds until killed
//   event_driver settings PROGRAM_DIR       confirms the prize settings again and again
//   event_driver full PROGRAM_DIR ROSTER ORDER    draws a whole event, the levels in ORDER ("312")
//   event_driver continue PROGRAM_DIR ORDER       continues the unfinished event to its end
// After each completed round or confirmation it prints a line and flushes it; the full and
// continue modes also print ROLLING while a roll runs and PAUSING during the pause at the end.
// Like the program, it holds the program directory's lock first. LUMORA_KILL_AT=POINT:N kills
// the driver (SIGKILL) the Nth time the record's writing passes the named point.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include <csignal>

#include "platform/fault_points.h"
#include "platform/program_directory.h"
#include "platform/single_instance.h"
#include "support/stage.h"
#include "windows/prize_settings_form.h"

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void unlock(MainForm *form)
{
    form->Command8_Click();
    form->startLock()
        ->findChild<QLineEdit *>(QStringLiteral("Text2"))
        ->setText(QStringLiteral("52718364"));
    form->startLock()->Command1_Click();
}

QPushButton *levelButton(MainForm *form, int level)
{
    const char *names[] = {"", "Command4", "Command3", "Command2"};
    return form->findChild<QPushButton *>(QLatin1String(names[level]));
}

// 补抽 of the first name of the last stop.
void redrawFirst(MainForm *form)
{
    QPushButton *redraw = form->findChild<QPushButton *>(QStringLiteral("Command6"));
    if (!redraw->isEnabled())
        return;
    redraw->click();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() != QStringLiteral("补抽") || w->isHidden())
            continue;
        w->findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(true);
        w->findChild<QPushButton *>(QStringLiteral("start"))->click();
        break;
    }
    if (redraw->text() != QStringLiteral("停止"))
        return; // the pool ran out
    form->Timer1_Timer();
    say(QStringLiteral("REDRAWING"));
    QThread::msleep(2);
    redraw->click();
    say(QStringLiteral("REDRAWN"));
}

// Draws round after round of the first level in `order` whose button is enabled, as an operator
// would, until no level button is enabled. With "r" in `order`, every stop is followed by a
// redraw of its first name.
int drawToTheEnd(MainForm *form, const QString &order)
{
    const bool redraws = order.contains(u'r');
    if (redraws)
        redrawFirst(form); // the last stop before an interruption
    for (;;) {
        int level = 0;
        for (QChar c : order) {
            if (c.isDigit() && levelButton(form, c.digitValue())->isEnabled()) {
                level = c.digitValue();
                break;
            }
        }
        if (level == 0)
            break;
        QPushButton *button = levelButton(form, level);
        button->click();
        form->Timer1_Timer();
        say(QStringLiteral("ROLLING %1").arg(level));
        QThread::msleep(2);
        if (level == 1 && form->g1 == 1)
            QTimer::singleShot(100, [] { say(QStringLiteral("PAUSING")); });
        button->click();
        say(QStringLiteral("ROUND %1").arg(level));
        if (redraws)
            redrawFirst(form);
    }
    say(QStringLiteral("DONE"));
    QThread::sleep(60); // wait to be killed
    return 0;
}

bool killAtPoint(const char *point)
{
    static const QList<QByteArray> target = qgetenv("LUMORA_KILL_AT").split(':');
    static int seen = 0;
    if (target.size() == 2 && target[0] == point && ++seen == target[1].toInt())
        std::raise(SIGKILL);
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString mode = QString::fromLocal8Bit(argc > 1 ? argv[1] : "");
    const int needed = mode == QStringLiteral("settings") ? 3
                       : mode == QStringLiteral("full")   ? 5
                                                          : 4;
    if (argc < needed)
        return 2;
    ProgramDirectory::setForTesting(QString::fromLocal8Bit(argv[2]));
    FaultPoints::setHandler(killAtPoint);
    FakeMessageBoxes boxes;
    const SingleInstance instance(ProgramDirectory::path());
    if (instance.anotherIsRunning()) {
        say(QStringLiteral("ALREADY RUNNING"));
        return 4;
    }
    auto *form = new MainForm();
    form->minimumRollMs = 0; // a stop right after its start, as fast as the driver goes
    form->show();

    if (mode == QStringLiteral("settings")) {
        PrizeSettingsForm *settings = form->prizeSettings();
        for (long k = 0;; ++k) {
            settings->field(7)->setText(QStringLiteral("公司%1").arg(k));
            settings->field(9)->setText(QString(60, QChar(u'奖')) + QString::number(k));
            settings->ok_Click();
            std::printf("OK %ld\n", k);
            std::fflush(stdout);
        }
    }

    form->resultsPauseMs = 1500;
    if (mode == QStringLiteral("continue")) {
        form->offerUnfinishedEvent();
        for (const QString &text : boxes.texts())
            say(QStringLiteral("MESSAGE ") + QString(text).replace(u'\n', u' '));
        if (!form->resultsFile().isOpen() && form->str2.isEmpty())
            return 3;
        say(QStringLiteral("CONTINUED"));
        unlock(form);
        return drawToTheEnd(form, QString::fromLocal8Bit(argv[3]));
    }

    FakeFileDialog dialog;
    dialog.setNextFileName(QString::fromLocal8Bit(argv[3]));
    form->prizeSettings()->ok_Click();
    form->Command1_Click();
    for (const QString &text : boxes.texts())
        std::printf("MESSAGE %s\n", qPrintable(text));
    if (!form->resultsFile().isOpen()) {
        // The operator was told; nothing can be drawn until the folder is mended.
        std::printf("NO RESULTS FILE, LOAD %s\n",
                    form->findChild<QWidget *>(QStringLiteral("Command1"))->isEnabled() ? "AGAIN"
                                                                                        : "LOCKED");
        std::fflush(stdout);
        return 3;
    }
    unlock(form);
    if (mode == QStringLiteral("full"))
        return drawToTheEnd(form, QString::fromLocal8Bit(argv[4]));
    for (int round = 1;; ++round) {
        form->Command2_Click();
        form->Timer1_Timer();
        form->Command2_Click();
        std::printf("ROUND %d\n", round);
        std::fflush(stdout);
        if (form->g3 == 0)
            break;
    }
    std::printf("DONE\n");
    std::fflush(stdout);
    QThread::sleep(60); // wait to be killed
    return 0;
}
