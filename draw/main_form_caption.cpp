// The scrolling caption's driver and the blinking titles.
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <cmath>

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
    m_captionHeight = mlngScrollPos;
}

void MainForm::StartScrollText(qint16 nInterval)
{
    timScrollText->setInterval(nInterval);
    timScrollText->setEnabled(true);
}

void MainForm::timScrollText_Timer()
{
    // The clock moves the caption one pixel a tick; the frame for the newest position is drawn
    // at the next screen refresh, so ticks between two refreshes draw nothing.
    const bool running = ScrollCaption::PassGoesOn(mstrScrollText, *移动图2, mlngScrollPos);
    m_captionFramePosition = mlngScrollPos;
    m_captionFramePending = true;
    if (!m_captionFrames->isActive()) {
        const QScreen *stage = screen();
        const double rate = stage && stage->refreshRate() > 1.0 ? stage->refreshRate() : 60.0;
        m_captionFrames->start(std::max(1, int(std::lround(1000.0 / rate))));
    }
    mlngScrollPos -= 1;
    if (!running) {
        m_firstPass = false;
        InitScrollText();
        StartScrollText(10);
    }
}

void MainForm::composeCaptionFrame()
{
    if (!m_captionFramePending) {
        m_captionFrames->stop(); // the caption stands still: no refresh until it moves again
        return;
    }
    m_captionFramePending = false;
    // Align 2 (centred) places every line by its own width, so the frame depends on its
    // position alone, whichever ticks were not drawn.
    ScrollCaption::DrawScrollText(mstrScrollText, *移动图3, *移动图2, *移动图1, kCaptionBottomColor,
                                  kCaptionTopColor, m_captionFramePosition, 1, 2);
}

void MainForm::Timer2_Timer()
{
    blink(Label4, Blink::kMagenta, Blink::kGold);
}

void MainForm::Timer3_Timer()
{
    blink(Label9, Blink::kGreen, Blink::kGold);
}
