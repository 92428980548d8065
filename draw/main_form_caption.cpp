// The scrolling caption's driver and the blinking titles.
#include <QLabel>

#include "draw/main_form.h"
#include "effects/blink.h"
#include "effects/scroll_caption.h"
#include "platform/auto_size_label.h"
#include "platform/interval_timer.h"
#include "platform/look.h"
#include "platform/numeric_text.h"
#include "platform/picture_box.h"

namespace {

constexpr quint32 kCaptionBottomColor = 0x00C0FFFF; // pale yellow
constexpr quint32 kCaptionTopColor = 0x000080FF;    // orange

void blink(QWidget *label, quint32 first, quint32 second)
{
    QPalette palette = label->palette();
    const quint32 current = Look::toBgr(palette.color(QPalette::WindowText));
    palette.setColor(QPalette::WindowText, Look::bgr(Blink::nextColor(current, first, second)));
    label->setPalette(palette);
}

} // namespace

void MainForm::InitScrollText()
{
    移动图3->setVisible(false);
    移动图2->setVisible(false);
    移动图1->setVisible(true);
    mlngScrollPos = qint32(NumericText::roundHalfEven(移动图1->scaleHeight()));
}

void MainForm::StartScrollText(qint16 nInterval)
{
    timScrollText->setInterval(nInterval);
    timScrollText->setEnabled(true);
}

void MainForm::timScrollText_Timer()
{
    const bool running =
        ScrollCaption::DrawScrollText(mstrScrollText, *移动图3, *移动图2, *移动图1,
                                      kCaptionBottomColor, kCaptionTopColor, mlngScrollPos, 1, 2);
    mlngScrollPos -= 1;
    if (!running) {
        InitScrollText();
        StartScrollText(10);
    }
}

void MainForm::Timer2_Timer()
{
    blink(Label4, Blink::kMagenta, Blink::kGold);
}

void MainForm::Timer3_Timer()
{
    blink(Label9, Blink::kGreen, Blink::kGold);
}
