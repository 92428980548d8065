// Continuing an interrupted event, in a process of its own:
//   continue_probe make DIR COUNT ROUNDS   loads a roster of COUNT lines and draws ROUNDS rounds
//   continue_probe run DIR                 a new start: the offer, answered 继续抽奖
// Prints how long the offer and the continuation took, from the journal's search to the
// restored stage.
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
                           "[三等奖]\r\n次数=%1\r\n人数=10\r\n奖品=卡\r\n")
                .arg(rounds + 1)));
        settings.close();
        PickRoster dialog(roster.fileName());
        FileDialogService::install(&dialog);
        auto *stage = new MainForm();
        stage->prizeSettings()->ok_Click();
        stage->Command1_Click();
        for (int round = 0; round < rounds; ++round) {
            stage->Command2_Click();
            stage->Timer1_Timer();
            stage->Command2_Click();
        }
        delete stage;
        return 0;
    }

    auto *stage = new MainForm();
    QElapsedTimer clock;
    clock.start();
    stage->offerUnfinishedEvent();
    const qint64 ms = clock.elapsed();
    std::printf("pool left %lld entries, %d third-prize rounds drawn; offer and continue %lld ms\n",
                static_cast<long long>(stage->ST.size()), stage->c3 - stage->g3,
                static_cast<long long>(ms));
    delete stage;
    return 0;
}
