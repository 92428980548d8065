// The roster load as the operator does it, in a process of its own, with a roster of N lines also
// scrolling in the startup caption:
//   roster_load_probe make DIR COUNT gb18030|utf-8   writes the program directory
//   roster_load_probe load DIR                        starts the stage, confirms, loads
// Prints the load's time and the whole process's peak memory.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <sys/resource.h>

#include "bench_data.h"
#include "draw/main_form.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/program_directory.h"
#include "platform/text_codec.h"
#include "probe_services.h"
#include "windows/prize_settings_form.h"

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc >= 5 && QByteArray(argv[1]) == "make") {
        const QString dir = QString::fromLocal8Bit(argv[2]);
        const QString text =
            BenchData::people(QByteArray(argv[3]).toInt()).join(QStringLiteral("\r\n"));
        QFile roster(dir + QStringLiteral("/参与抽奖名单.vok"));
        roster.open(QIODevice::WriteOnly);
        roster.write(QByteArray(argv[4]) == "utf-8" ? text.toUtf8() : TextCodec::toAnsi(text));
        QFile settings(dir + QStringLiteral("/SysInfo.ini"));
        settings.open(QIODevice::WriteOnly);
        settings.write(
            TextCodec::toAnsi(QStringLiteral("[公司名称]\r\n公司名称=星辰\r\n活动名称=年会\r\n["
                                             "一等奖]\r\n次数=1\r\n人数=2\r\n奖品=车\r\n"
                                             "[二等奖]\r\n次数=2\r\n人数=3\r\n奖品=电脑\r\n[三等奖]"
                                             "\r\n次数=3\r\n人数=50\r\n奖品=卡\r\n")));
        return 0;
    }
    if (argc < 3)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[2]);
    ProgramDirectory::setForTesting(dir);
    AnswerOk boxes;
    MessageBoxService::install(&boxes);
    PickRoster dialog(dir + QStringLiteral("/参与抽奖名单.vok"));
    FileDialogService::install(&dialog);

    QElapsedTimer clock;
    clock.start();
    auto *stage = new MainForm();
    const qint64 startupMs = clock.elapsed();
    stage->prizeSettings()->ok_Click();
    clock.restart();
    stage->Command1_Click();
    const qint64 loadMs = clock.elapsed();
    std::printf("pool %lld entries; start-up with the roster in the caption %lld ms; "
                "load %lld ms; peak memory %ld MB\n",
                static_cast<long long>(stage->ST.size()), static_cast<long long>(startupMs),
                static_cast<long long>(loadMs), peakKilobytes() / 1024);
    delete stage;
    return 0;
}
