// Continuing an event that a crash, a power cut or a close by mistake interrupted.
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <numeric>

#include "draw/event_log.h"
#include "draw/main_form.h"
#include "draw/names_label.h"
#include "draw/prize_levels.h"
#include "draw/random_pick.h"
#include "draw/roster.h"
#include "platform/auto_size_label.h"
#include "platform/media_player.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "record/startup_survey.h"
#include "windows/prize_settings_form.h"

namespace {

MessageBoxService::Answer offer(const Record::UnfinishedEvent &event)
{
    const Journal::History &h = event.history;
    MessageBoxService::Request request;
    request.caption = QString::fromUtf16(kApplicationTitle);
    request.icon = MessageBoxService::Icon::Question;
    request.buttons = MessageBoxService::Buttons::OkCancel;
    request.okText = QStringLiteral("继续抽奖");
    request.cancelText = QStringLiteral("重新开始");
    // Every round drawn, but the last stop was a redraw that never reached the results file.
    const QString where = h.isFinished() ? QStringLiteral("补抽未完成")
                                         : QStringLiteral("已抽 %1 轮").arg(h.roundsDrawn());
    request.text =
        QStringLiteral("发现未完成的抽奖：") + event.resultsName() + QStringLiteral("\n") +
        QStringLiteral("%1，%2 人中奖。是否继续这次抽奖？").arg(where).arg(h.winnersCount());
    return MessageBoxService::current().ask(request);
}

bool confirmSetAside()
{
    MessageBoxService::Request request;
    request.caption = QString::fromUtf16(kApplicationTitle);
    request.icon = MessageBoxService::Icon::Question;
    request.buttons = MessageBoxService::Buttons::OkCancel;
    request.text = QStringLiteral("确定放弃这次未完成的抽奖吗？放弃后将不再询问。");
    request.cancelIsDefault = true;
    return MessageBoxService::current().ask(request) == MessageBoxService::Answer::Ok;
}

} // namespace

void MainForm::offerUnfinishedEvent()
{
    // Only a stage that has not begun an event of its own may take one over.
    if (!str2.isEmpty())
        return;
    const Record::StartupSurvey survey = Record::surveyFolder(mstrPath);
    if (!survey.brokenName.isEmpty()) {
        showMessage(QStringLiteral("发现无法继续的抽奖记录：") + survey.brokenName +
                    QStringLiteral("\n") + survey.brokenReason);
        return;
    }
    if (!survey.offer)
        return;
    const Record::UnfinishedEvent &event = *survey.offer;
    for (;;) {
        if (offer(event) == MessageBoxService::Answer::Ok) {
            continueEvent(event);
            return;
        }
        if (confirmSetAside())
            break;
    }
    // A fresh start: the interrupted event is not offered again, and its files stay as they are.
    Record::setAside(event);
}

bool MainForm::continueEvent(const Record::UnfinishedEvent &event)
{
    const Journal::EventStart &start = *event.history.start;
    const QString changed = QStringLiteral("名单文件已改变或不存在，无法继续这次抽奖：");
    // Read only when it is a regular file no larger than recorded: a pipe, a device or a huge
    // file in its place must neither hang the start nor fill the memory.
    const std::optional<QByteArray> bytes =
        TextCodec::readRegularFile(start.rosterPath, start.rosterSize);
    if (!bytes || !Record::isRecordedRoster(start, *bytes)) {
        showMessage(changed + start.rosterPath);
        return false;
    }
    Roster::Pool pool = Roster::buildPool(*bytes);
    if (!m_record.continueEvent(event, pool.entries)) {
        if (m_record.failedPath().isEmpty())
            showMessage(changed + start.rosterPath);
        else
            showMessage(QStringLiteral("无法继续这次抽奖，文件无法写入：") + m_record.failedPath());
        return false;
    }

    m_continued = true;
    str2 = event.resultsPath;
    Label4->setCaption(start.company);
    Label9->setText(start.activity);
    PrizeSettingsForm *settings = prizeSettings();
    for (int field = 1; field <= 11; ++field)
        settings->field(field)->setText(start.fields[size_t(field)]);

    // The pool less everyone who won, by their loaded positions.
    ST = std::move(pool.entries);
    m_poolOrigin.resize(size_t(ST.size()));
    std::iota(m_poolOrigin.begin(), m_poolOrigin.end(), 0);
    std::vector<qint32> won;
    for (qint64 index : event.history.wonIndices())
        won.push_back(qint32(index));
    removeIndices(ST, won);
    removeIndices(m_poolOrigin, won);
    iCount = qint32(ST.size()) - 1;

    qint16 *const configured[] = {&c1, &c2, &c3};
    qint16 *const left[] = {&g1, &g2, &g3};
    qint16 *const perRound[] = {&n1, &n2, &n3};
    m_levelInProgress = 0;
    for (int level = 1; level <= 3; ++level) {
        const qint16 c = start.configuredRounds(level);
        const int drawn = event.history.roundsDrawn(level);
        *configured[level - 1] = c;
        *left[level - 1] = qint16(c - drawn);
        *perRound[level - 1] = start.winnersPerRound(level);
        if (drawn > 0 && drawn < c)
            m_levelInProgress = level;
    }

    // The last counted round as it stands, for the stage after the unlock. Its last stop's names
    // can still be redrawn, as before the interruption, unless a level's roll had started since.
    m_redraw = Redraw();
    m_lastStopWasRedraw = false;
    if (!event.history.entries.isEmpty()) {
        const Journal::Entry &last = event.history.entries.last();
        m_redraw.level = last.level;
        m_redraw.round = last.round;
        m_lastStopWasRedraw = last.kind == Journal::Entry::Kind::Redraw;
        if (!event.history.rolledAfterLastStop)
            m_redraw.winners = last.winners;
        for (const Journal::Entry &entry : event.history.entries) {
            if (entry.level != last.level || entry.round != last.round)
                continue;
            if (entry.kind == Journal::Entry::Kind::Round) {
                for (const Journal::Winner &w : entry.winners)
                    m_redraw.standing.append({w, false});
            } else {
                replaceStanding(entry.absent, entry.winners);
            }
        }
    }

    QStringList log;
    for (const Journal::Entry &entry : event.history.entries)
        log.append(EventLog::linesOf(entry));
    m_list1Items->setStringList(log);
    m_list2Items->setStringList(pool.accepted);
    if (!event.history.entries.isEmpty())
        Label3->setText(QString::number(iCount));

    reportWorkbookFailure();
    RandomSource::shared().reseedFromClock();
    Command1->setEnabled(false);
    Command5->setEnabled(false);
    Command8->setEnabled(true);
    return true;
}

void MainForm::showLastCountedRound()
{
    if (m_redraw.level == 0)
        return; // nothing was drawn before the interruption
    const PrizeLevel &level = prizeLevel(m_redraw.level);
    Label5->setText(roundHeading(level, m_redraw.round, m_lastStopWasRedraw));
    Label5->setVisible(true);
    Label2->setCaption(standingText());
    Label2->setVisible(true);
    showResultsNotice(level.showsResultsNotice || m_record.hasEnded());
    if (m_record.hasEnded()) {
        // The first prize's last round was drawn: the end steps, as after its stop.
        WindowsMediaPlayer2->play();
        m_lateRoll = true;
        afterLateStop();
    }
}
