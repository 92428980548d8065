// 补抽: the absent winners of the last stopped round are replaced by names drawn on stage.
#include <QPushButton>

#include "draw/event_log.h"
#include "draw/main_form.h"
#include "draw/names_label.h"
#include "draw/prize_levels.h"
#include "draw/random_pick.h"
#include "platform/interval_timer.h"
#include "platform/media_player.h"
#include "platform/message_box.h"
#include "windows/prize_settings_form.h"
#include "windows/redraw_form.h"

using Journal::textsOf;

void MainForm::Command6_Click()
{
    if (m_redraw.rolling) {
        stopRedraw();
        return;
    }
    if (m_redraw.winners.isEmpty())
        return;
    // An open window is brought forward; a closed one (deleted later) is never reused, as its
    // names may be those of an earlier stop.
    if (!m_redrawForm || m_redrawForm->isHidden()) {
        if (m_redrawForm)
            m_redrawForm->deleteLater();
        m_redrawForm = new RedrawForm(textsOf(m_redraw.winners), this);
        connect(m_redrawForm, &RedrawForm::startRequested, this, &MainForm::startRedraw);
    }
    m_redrawForm->showForward();
}

void MainForm::replaceStanding(const QList<Journal::Winner> &absent,
                               const QList<Journal::Winner> &replacements)
{
    for (qsizetype k = 0; k < absent.size() && k < replacements.size(); ++k) {
        for (auto &[winner, replaced] : m_redraw.standing) {
            if (winner.index == absent[k].index) {
                winner = replacements[k];
                replaced = true;
                break;
            }
        }
    }
}

QString MainForm::standingText() const
{
    QStringList texts;
    for (const auto &[winner, replaced] : m_redraw.standing)
        texts.append(replaced ? winner.text + QStringLiteral("（补）") : winner.text);
    return Results::winnersText(texts);
}

void MainForm::startRedraw(const QList<int> &ticked)
{
    if (ST.size() < ticked.size()) {
        showMessage(QStringLiteral("剩余人数不足，无法补抽！"));
        return;
    }
    if (m_redrawForm)
        m_redrawForm->close();
    m_redraw.absent.clear();
    for (int position : ticked) {
        if (position >= 0 && position < m_redraw.winners.size())
            m_redraw.absent.append(m_redraw.winners[position]);
    }
    if (m_redraw.absent.isEmpty())
        return;
    m_redraw.rolling = true;
    for (int flag = 1; flag <= 3; ++flag) {
        m_redraw.levelsEnabled[size_t(flag - 1)] = levelButton(flag)->isEnabled();
        levelButton(flag)->setEnabled(false);
    }

    const PrizeLevel &level = prizeLevel(m_redraw.level);
    clearStageForLateRoll();
    Command6->setText(QStringLiteral("停止"));
    m_noticeBeforeRoll = Label6->isVisible();
    showResultsNotice(false);
    Label8->setVisible(true);
    Label8->setText(level.name + QStringLiteral("的补抽正在火热进行中 ……"));
    Label5->setVisible(true);
    Label5->setText(QStringLiteral("奖励") + prizeSettings()->fieldText(level.prizeField));
    Label2->setVisible(false);
    Label1->setCaption(QString());
    Label1->setVisible(true);
    WindowsMediaPlayer1->play();
    m_rollTicked = false;
    m_rollClock.start();
    Timer1->setEnabled(true);
}

void MainForm::stopRedraw()
{
    // As with a round: a stop too soon after the start is ignored.
    if (!rollCanStop())
        return;
    const QList<Journal::Winner> replacements = shownWinners();
    const bool recorded =
        m_record.recordRedraw(m_redraw.level, m_redraw.round, m_redraw.absent, replacements);
    Command6->setText(QStringLiteral("补抽"));
    m_redraw.rolling = false;
    if (!recorded) {
        // Not counted: the same absent winners can be redrawn again once the disk is mended.
        abandonRoll();
        for (int flag = 1; flag <= 3; ++flag)
            levelButton(flag)->setEnabled(m_redraw.levelsEnabled[size_t(flag - 1)]);
        m_redraw.absent.clear();
        Command6->setEnabled(true);
        showResultsNotice(m_noticeBeforeRoll);
        reportWriteFailure();
        return;
    }
    Timer1->setEnabled(false);
    WindowsMediaPlayer1->pause();

    const PrizeLevel &level = prizeLevel(m_redraw.level);
    Journal::Entry redraw;
    redraw.kind = Journal::Entry::Kind::Redraw;
    redraw.level = m_redraw.level;
    redraw.round = m_redraw.round;
    redraw.absent = m_redraw.absent;
    redraw.winners = replacements;
    for (const QString &line : EventLog::linesOf(redraw))
        appendLog(line);
    // The replacements leave the pool; the absent winners were drawn and stay out of it.
    takeShownFromPool();

    Label8->setText(QString());
    Label8->setVisible(false);
    Label5->setText(roundHeading(level, m_redraw.round, true));
    Label5->setVisible(true);
    Label1->setVisible(false);
    // The round as it now stands: who is new is marked, in the place of whom they replace.
    replaceStanding(m_redraw.absent, replacements);
    Label2->setCaption(standingText());
    Label2->setVisible(true);
    for (int flag = 1; flag <= 3; ++flag)
        levelButton(flag)->setEnabled(m_redraw.levelsEnabled[size_t(flag - 1)]);

    // A replacement who is absent too can be redrawn in turn.
    m_redraw.winners = replacements;
    m_redraw.absent.clear();
    Command6->setEnabled(!m_redraw.winners.isEmpty());
    showResultsNotice(m_noticeBeforeRoll);
    afterRecordWrite();
    afterLateStop();
}
