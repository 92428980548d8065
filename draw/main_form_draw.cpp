// The prize-level draw: the rolling display and the three level buttons.
#include <QEventLoop>
#include <QPointer>
#include <QPushButton>
#include <QStringListModel>
#include <QTimer>

#include "draw/main_form.h"
#include "draw/names_label.h"
#include "draw/prize_levels.h"
#include "draw/random_pick.h"
#include "draw/roster.h"
#include "platform/interval_timer.h"
#include "platform/media_player.h"
#include "platform/message_box.h"
#include "platform/picture_box.h"
#include "windows/prize_settings_form.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr double kRollingPoints = 52;

void appendItem(QStringListModel *model, const QString &item)
{
    const int row = model->rowCount();
    model->insertRows(row, 1);
    model->setData(model->index(row), item);
}

void setPointSize(QWidget *label, double points)
{
    if (label->font().pointSizeF() == points)
        return;
    QFont font = label->font();
    font.setPointSizeF(points);
    label->setFont(font);
}

} // namespace

QPushButton *MainForm::levelButton(int flag) const
{
    return flag == 1 ? Command4 : flag == 2 ? Command3 : Command2;
}

qint16 &MainForm::roundsLeft(int flag)
{
    return flag == 1 ? g1 : flag == 2 ? g2 : g3;
}

qint16 MainForm::roundsConfigured(int flag) const
{
    return flag == 1 ? c1 : flag == 2 ? c2 : c3;
}

qint16 MainForm::winnersPerRound(int flag) const
{
    return flag == 1 ? n1 : flag == 2 ? n2 : n3;
}

qint32 MainForm::rollCount() const
{
    if (m_redraw.rolling)
        return qint32(m_redraw.absent.size());
    return nflag != 0 ? winnersPerRound(nflag) : 0;
}

void MainForm::appendLog(const QString &line)
{
    appendItem(m_list1Items, line);
}

void MainForm::takeShownFromPool()
{
    // The winners leave the pool by the very entries the last tick showed.
    removeIndices(ST, m_lastPicks);
    removeIndices(m_poolOrigin, m_lastPicks);
    m_lastPicks.clear();
    iCount = qint32(ST.size()) - 1;
    Label3->setText(QString::number(iCount));
}

void MainForm::Timer1_Timer()
{
    setPointSize(Label1, kRollingPoints);
    QString text;
    m_lastPicks.clear();
    if (nflag != 0 || m_redraw.rolling) {
        const std::vector<qint32> picks = GetRndNotRepeat(0, qint32(ST.size()) - 1, rollCount());
        m_lastPicks.assign(picks.begin() + 1, picks.end());
        for (qint32 index : m_lastPicks)
            text += ST[index] + kCrLf;
    }
    Label1->setCaption(text);
    m_rollTicked = true;
}

void MainForm::Command2_Click()
{
    levelClick(3);
}

void MainForm::Command3_Click()
{
    levelClick(2);
}

void MainForm::Command4_Click()
{
    levelClick(1);
}

void MainForm::releaseOtherLevels(const PrizeLevel &level)
{
    for (int other : level.others) {
        if (roundsLeft(other) > 0)
            levelButton(other)->setEnabled(true);
    }
}

void MainForm::levelClick(int flag)
{
    const PrizeLevel &level = prizeLevel(flag);
    LevelsBeforeRoll before;
    for (int f = 1; f <= 3; ++f)
        before.enabled[size_t(f - 1)] = levelButton(f)->isEnabled();
    before.nflag = nflag;
    if (level.stopsWaitingTune)
        WindowsMediaPlayer2->stop();
    nflag = qint16(flag);
    for (int other : level.others)
        levelButton(other)->setEnabled(false);

    const bool poolTooSmall = !(iCount > winnersPerRound(flag));
    if (poolTooSmall || roundsLeft(flag) <= 0) {
        if (poolTooSmall) {
            showMessage(iCount > 0 ? QStringLiteral("参与抽奖人数小于奖项数量，不用进行抽奖，"
                                                    "请重新检查读入抽奖名单或者奖项设置！")
                                   : QStringLiteral("请加载抽奖名单数据！"));
        }
        // A refused click must not lock the other levels for the rest of the event.
        nflag = 0;
        releaseOtherLevels(level);
        return;
    }

    if (levelButton(flag)->text() == level.name && !Timer1->isEnabled()) {
        m_beforeRoll = before;
        startRoll(level);
    } else {
        stopRoll(level);
    }
}

void MainForm::clearStageForLateRoll()
{
    m_resultsReturn->stop();
    if (!m_record.hasEnded())
        return; // the end steps have not begun: nothing scrolls
    timScrollText->setEnabled(false);
    m_captionFrames->stop();
    移动图1->setVisible(false);
    m_lateRoll = true;
}

void MainForm::afterLateStop()
{
    if (m_lateRoll && !m_pauseLoop)
        m_resultsReturn->start(resultsPauseMs);
}

void MainForm::showResultsCaption()
{
    if (Timer1->isEnabled() || m_closing)
        return; // a roll has the stage; its stop brings the caption back
    m_lateRoll = false;
    LoadFileLines(str2, mstrScrollText);
    InitScrollText();
    StartScrollText(10);
    Label5->setVisible(false);
    Label2->setVisible(false);
}

void MainForm::startRoll(const PrizeLevel &level)
{
    clearStageForLateRoll();
    // The last round's winners can no longer be redrawn once the next roll starts.
    m_redraw = Redraw();
    Command6->setEnabled(false);
    if (m_redrawForm)
        m_redrawForm->close();
    Timer1->setEnabled(true);
    m_rollTicked = false;
    m_rollClock.start();
    levelButton(level.flag)->setText(QStringLiteral("停止"));
    Label2->setVisible(false);
    Label2->setCaption(QString());
    if (level.resetsWinnersFont)
        setPointSize(Label2, kRollingPoints);
    Label5->setText(QString());
    // The last round's names must not stand on stage as if they were this round's.
    Label1->setCaption(QString());
    Label1->setVisible(true);
    WindowsMediaPlayer1->play();
    m_noticeBeforeRoll = Label6->isVisible();
    showResultsNotice(false);
    Label8->setVisible(true);
    Label8->setText(level.announcement);
    Label5->setVisible(true);
    Label5->setText(QStringLiteral("奖励") + prizeSettings()->fieldText(level.prizeField));
    m_record.recordRoll(level.flag);
}

void MainForm::abandonRoll()
{
    Timer1->setEnabled(false);
    WindowsMediaPlayer1->pause();
    Label8->setText(QString());
    Label8->setVisible(false);
    Label1->setCaption(QString());
    Label1->setVisible(false);
    Label5->setText(QString());
    m_lastPicks.clear();
}

void MainForm::reportWriteFailure()
{
    showMessage(QStringLiteral("本轮结果无法写入磁盘：") + m_record.failedPath() +
                QStringLiteral("\n") + QStringLiteral("本轮不算，请检查磁盘后重新抽这一轮。"));
}

void MainForm::showRecordCode()
{
    m_recordCode->setText(QStringLiteral("记录校验码：") + m_record.code());
    m_recordCode->setVisible(Label6->isVisible());
}

void MainForm::showResultsNotice(bool shown)
{
    Label6->setVisible(shown);
    Label7->setVisible(shown);
    showRecordCode();
}

void MainForm::stopRoll(const PrizeLevel &level)
{
    // A stop before the roll has shown names, or sooner than the hall can see it roll (a double
    // click, a double press of the remote), is ignored: the roll goes on.
    if (!rollCanStop())
        return;
    const int round = roundsConfigured(level.flag) - roundsLeft(level.flag) + 1;
    // The winners are the entries the last tick showed, by their loaded positions. Nothing of
    // the stop counts, on stage or in the counters, unless its record reached the disk.
    const QList<Journal::Winner> recordedWinners = shownWinners();
    if (!m_record.recordRound(level.flag, round, recordedWinners)) {
        abandonRoll();
        levelButton(level.flag)->setText(level.name);
        for (int flag = 1; flag <= 3; ++flag)
            levelButton(flag)->setEnabled(m_beforeRoll.enabled[size_t(flag - 1)]);
        nflag = m_beforeRoll.nflag;
        showResultsNotice(m_noticeBeforeRoll);
        reportWriteFailure();
        return;
    }
    Timer1->setEnabled(false);
    WindowsMediaPlayer1->pause();
    levelButton(level.flag)->setText(level.name);

    qint16 &left = roundsLeft(level.flag);
    left = qint16(left - 1);
    Label8->setText(QString());
    Label8->setVisible(false);
    appendItem(m_list1Items, level.logStart + QString::number(round) + QStringLiteral(" 次抽奖："));

    const QString winners = Results::trimBlanks(Label1->text());
    showResultsNotice(level.showsResultsNotice || m_noticeBeforeRoll);

    const QStringList pieces = Results::winnerLines(winners);
    for (i = 0; i < pieces.size(); ++i) {
        appendItem(m_list1Items, pieces[i]);
        Label1->setVisible(false);
        Label5->setText(roundHeading(level, round, false));
        Label5->setVisible(true);
        Label2->setCaption(winners);
        Label2->setVisible(true);
    }
    takeShownFromPool();
    afterRecordWrite();
    m_redraw.level = level.flag;
    m_redraw.round = round;
    m_redraw.winners = recordedWinners;
    for (const Journal::Winner &w : recordedWinners)
        m_redraw.standing.append({w, false});
    afterLateStop();
    // Open during the end's pause too.
    Command6->setEnabled(!m_redraw.winners.isEmpty());
    if (left == 0) {
        QPointer<MainForm> alive(this);
        closeLevel(level);
        if (!alive || m_closing)
            return;
    }
    // After the end's pause too, unless a level's roll started during it.
    Command6->setEnabled(!m_redraw.winners.isEmpty() && !Timer1->isEnabled());
}

bool MainForm::rollCanStop() const
{
    return m_rollTicked && m_rollClock.isValid() && m_rollClock.elapsed() >= minimumRollMs;
}

QList<Journal::Winner> MainForm::shownWinners() const
{
    QList<Journal::Winner> winners;
    for (qint32 index : m_lastPicks)
        winners.append({ST[index], m_poolOrigin[size_t(index)]});
    return winners;
}

void MainForm::afterRecordWrite()
{
    // A round after the first prize's last one joins the results that scroll on the stage.
    if (m_record.hasEnded())
        LoadFileLines(str2, mstrScrollText);
    reportWorkbookFailure();
}

void MainForm::reportWorkbookFailure()
{
    if (m_record.takeWorkbookFailure())
        showMessage(QStringLiteral("无法写入中奖名单表格：") + m_record.workbookPath());
}

void MainForm::closeLevel(const PrizeLevel &level)
{
    levelButton(level.flag)->setEnabled(false);
    releaseOtherLevels(level);
    if (level.endsEvent) {
        m_record.endEvent();
        WindowsMediaPlayer2->play();

        // Let the stage go on (timers, clicks) for the pause, then show the results.
        QPointer<MainForm> alive(this);
        QEventLoop pause;
        m_pauseLoop = &pause;
        QTimer::singleShot(resultsPauseMs, &pause, &QEventLoop::quit);
        pause.exec();
        if (!alive)
            return;
        m_pauseLoop = nullptr;
        if (m_closing)
            return; // closed during the pause: nothing more happens
        // A roll started during the pause has the stage; its stop's pause brings the results.
        if (m_lateRoll)
            afterLateStop();
        else
            showResultsCaption();
    }
    // A level started during the pause keeps its own flag.
    if (nflag == level.flag)
        nflag = 0;
}
