// From process start to the first painted stage frame, then exit.
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>

#include "draw/main_form.h"
#include "platform/design_resources.h"

namespace {

// Seconds since this process started, from the kernel's record of its start.
double processAgeSeconds()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double started = fields.value(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    return uptime.readAll().split(' ').value(0).toDouble() - started;
}

class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::printf("first stage frame painted %.0f ms after the process started\n",
                            processAgeSeconds() * 1000);
                QApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    initDesignResources();
    auto *stage = new MainForm();
    FirstPaint watcher;
    stage->installEventFilter(&watcher);
    stage->showOnStage();
    const int code = QApplication::exec();
    delete stage;
    return code;
}
