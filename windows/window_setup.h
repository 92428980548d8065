#pragma once

#include <QString>

class QWidget;
class QLabel;

// Shared set-up of the secondary windows: a fixed client size in twips, a caption, no minimize
// or maximize button, unloaded by its close box, centred on the screen.
namespace WindowSetup {

void makeDialogWindow(QWidget *window, const QString &name, const QString &caption, int widthTwips,
                      int heightTwips);
void centreOnScreen(QWidget *window);
// Shows the window, centred the first time, or brings an open one forward.
void showForward(QWidget *window, bool &shownBefore);
// Places a control at a position given in twips relative to its container.
void placeTwips(QWidget *control, int left, int top, int width, int height);

} // namespace WindowSetup
