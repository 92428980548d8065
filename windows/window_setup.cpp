#include "windows/window_setup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/look.h"

namespace WindowSetup {

void makeDialogWindow(QWidget *window, const QString &name, const QString &caption, int widthTwips,
                      int heightTwips)
{
    window->setObjectName(name);
    window->setWindowTitle(caption);
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFixedSize(Look::twipsRect(0, 0, widthTwips, heightTwips).size());
}

void centreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void showForward(QWidget *window, bool &shownBefore)
{
    if (!shownBefore) {
        shownBefore = true;
        centreOnScreen(window);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void placeTwips(QWidget *control, int left, int top, int width, int height)
{
    control->setGeometry(Look::twipsRect(left, top, width, height));
}

} // namespace WindowSetup
