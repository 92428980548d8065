// A test-only driver of the real stage, run as a child process that the crash-safety test kills.
//   event_driver event PROGRAM_DIR ROSTER   draws third-prize rounds until killed
//   event_driver settings PROGRAM_DIR       confirms the prize settings again and again
// After each completed round or confirmation it prints a line and flushes it.
#include <QApplication>
#include <QLineEdit>
#include <QThread>
#include <cstdio>

#include "platform/program_directory.h"
#include "support/stage.h"
#include "windows/prize_settings_form.h"

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    ProgramDirectory::setForTesting(QString::fromLocal8Bit(argv[2]));
    FakeMessageBoxes boxes;
    auto *form = new MainForm();
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
    form->Command8_Click();
    form->startLock()
        ->findChild<QLineEdit *>(QStringLiteral("Text2"))
        ->setText(QStringLiteral("52718364"));
    form->startLock()->Command1_Click();
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
