// The real stage at its start, caption scrolling, for a few seconds: the process's share of a
// core and the caption's speed. Run from the program directory under an X server, e.g.
//   xvfb-run -s "-screen 0 3840x2160x24" ./caption_probe 8
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

#include "draw/main_form.h"
#include "platform/design_resources.h"

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    initDesignResources();
    const double seconds = argc > 1 ? QByteArray(argv[1]).toDouble() : 8.0;
    auto *stage = new MainForm();
    stage->showOnStage();

    // Measured after a second of warm-up, so the start-up itself is not counted; the first
    // pass (200 px/s) is long enough on a large screen for the whole window.
    double cpuAtStart = 0;
    qint32 positionAtStart = 0;
    QElapsedTimer wall;
    QTimer::singleShot(1000, [&] {
        cpuAtStart = cpuSeconds();
        positionAtStart = stage->scrollPosition();
        wall.start();
        QTimer::singleShot(int(seconds * 1000), [&] {
            const double elapsed = double(wall.elapsed()) / 1000.0;
            const double share = (cpuSeconds() - cpuAtStart) / elapsed * 100.0;
            const double speed = double(positionAtStart - stage->scrollPosition()) / elapsed;
            std::printf("%dx%d: %.1f %% of a core, caption %.0f px/s\n", stage->width(),
                        stage->height(), share, speed);
            QApplication::quit();
        });
    });
    const int code = QApplication::exec();
    delete stage;
    return code;
}
