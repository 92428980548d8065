// Continuing an interrupted event, in a process of its own:
//   continue_probe make DIR COUNT ROUNDS [PER [finished]]
//       loads a roster of COUNT lines and draws ROUNDS third-prize rounds of PER winners (10);
//       "finished" draws every level to the end, so that the event is a past one
//   continue_probe run DIR                 a new start: the offer, answered 继续抽奖
// Prints how long the start-up's survey of the folder took to reach the offer, and the offer
// with the continuation, from the journal's search to the restored stage.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "bench_data.h"
#include "draw/main_form.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/program_directory.h"
#include "platform/text_codec.h"
#include "probe_services.h"
#include "record/startup_survey.h"
#include "windows/prize_settings_form.h"

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[2]);
    ProgramDirectory::setForTesting(dir);
    AnswerOk boxes;
    MessageBoxService::install(&boxes);

    if (QByteArray(argv[1]) == "make" && argc >= 5) {
        const int rounds = QByteArray(argv[4]).toInt();
        const int perRound = argc >= 6 ? QByteArray(argv[5]).toInt() : 10;
        const bool finished = argc >= 7 && QByteArray(argv[6]) == "finished";
        const QString text =
            BenchData::people(QByteArray(argv[3]).toInt()).join(QStringLiteral("\r\n"));
        QFile roster(dir + QStringLiteral("/参与抽奖名单.vok"));
        roster.open(QIODevice::WriteOnly);
        roster.write(TextCodec::toAnsi(text));
        roster.close();
        QFile settings(dir + QStringLiteral("/SysInfo.ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write(TextCodec::toAnsi(
            QStringLiteral("[公司名称]\r\n公司名称=星辰\r\n活动名称=年会\r\n[一等奖]\r\n次数=1\r\n"
                           "人数=1\r\n奖品=车\r\n[二等奖]\r\n次数=1\r\n人数=1\r\n奖品=电脑\r\n"
                           "[三等奖]\r\n次数=%1\r\n人数=%2\r\n奖品=卡\r\n")
                .arg(finished ? rounds : rounds + 1)
                .arg(perRound)));
        settings.close();
        PickRoster dialog(roster.fileName());
        FileDialogService::install(&dialog);
        auto *stage = new MainForm();
        stage->minimumRollMs = 0; // every stop right after its roll's first frame
        stage->prizeSettings()->ok_Click();
        stage->Command1_Click();
        auto drawRound = [stage](void (MainForm::*level)()) {
            (stage->*level)();
            stage->Timer1_Timer();
            (stage->*level)();
        };
        for (int round = 0; round < rounds; ++round)
            drawRound(&MainForm::Command2_Click);
        if (finished) {
            drawRound(&MainForm::Command3_Click);
            drawRound(&MainForm::Command4_Click);
        }
        delete stage;
        return 0;
    }

    auto *stage = new MainForm();
    QElapsedTimer clock;
    clock.start();
    const bool offered = Record::surveyFolder(dir).offer.has_value();
    const qint64 surveyMs = clock.restart();
    stage->offerUnfinishedEvent();
    const qint64 ms = clock.elapsed();
    std::printf("%s in %lld ms; pool left %lld entries, %d third-prize rounds drawn; offer and "
                "continue %lld ms\n",
                offered ? "survey to the offer" : "survey, no offer",
                static_cast<long long>(surveyMs), static_cast<long long>(stage->ST.size()),
                stage->c3 - stage->g3, static_cast<long long>(ms));
    delete stage;
    return 0;
}
