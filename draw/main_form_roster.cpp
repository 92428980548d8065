// Loading the roster into the pool and opening this run's results file.
#include <QDateTime>
#include <QFileInfo>
#include <QPushButton>
#include <QStringListModel>
#include <numeric>

#include "draw/main_form.h"
#include "draw/random_pick.h"
#include "draw/roster.h"
#include "platform/auto_size_label.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/numeric_text.h"
#include "platform/text_codec.h"
#include "windows/prize_settings_form.h"

void MainForm::LoadFileLines(const QString &strPath, QStringList &strLines)
{
    Roster::loadFileLines(strPath, strLines);
}

void MainForm::Command1_Click()
{
    PrizeSettingsForm *settings = prizeSettings();
    for (int field = 1; field <= 6; ++field) {
        if (settings->fieldText(field).isEmpty()) {
            showMessage(QStringLiteral("请先进行奖项设置！"));
            return;
        }
    }

    FileDialogService::Request request;
    request.startDirectory = mstrPath;
    request.filter = QStringLiteral("vok 文件 (*.vok)");
    const QString chosen = FileDialogService::current().openFileName(request);
    if (chosen.isEmpty())
        return; // cancelled: nothing changes

    const std::optional<QByteArray> bytes = TextCodec::readFile(chosen);
    if (!bytes)
        return; // cannot be opened or read: the operator may pick again

    Roster::Pool pool = Roster::buildPool(*bytes);
    RandomSource::shared().reseedFromClock();

    // The counts are converted before anything is written, so the journal records them; they
    // are stored after the results file exists, in their order, up to a text that fails.
    const int fields[] = {1, 3, 5, 1, 3, 5, 2, 4, 6};
    std::array<std::optional<qint16>, 9> counts;
    for (size_t k = 0; k < std::size(fields); ++k)
        counts[k] = NumericText::toInt16(settings->fieldText(fields[k]));

    const QDateTime now = QDateTime::currentDateTime();
    const QString resultsPath = Results::freePath(mstrPath, now);
    Journal::EventStart start;
    start.company = Label4->text();
    start.activity = Label9->text();
    start.loadTime = now.toString(Qt::ISODate);
    start.headerTime = Results::dateTimeText(now);
    for (int field = 1; field <= 11; ++field)
        start.fields[size_t(field)] = settings->fieldText(field);
    for (size_t k = 0; k < counts.size(); ++k)
        start.counters[k] = counts[k].value_or(0);
    const Record::Fingerprint roster = Record::fingerprintOf(*bytes);
    start.rosterPath = QFileInfo(chosen).absoluteFilePath();
    start.rosterSize = roster.size;
    start.rosterSha256 = roster.sha256;
    start.poolSize = pool.entries.size();
    if (!m_record.start(resultsPath, start)) {
        // The event cannot be drawn without its record: nothing is loaded and no file is left,
        // so the operator can mend the disk and load again.
        showMessage(QStringLiteral("中奖名单文件无法写入磁盘：") + m_record.failedPath() +
                    QStringLiteral("\n") +
                    QStringLiteral("名单没有读取，请检查磁盘后重新读取验证数据。"));
        return;
    }

    str2 = resultsPath;
    m_list2Items->setStringList(pool.accepted);
    Command8->setEnabled(!pool.accepted.isEmpty());
    ST = std::move(pool.entries);
    iCount = qint32(ST.size()) - 1;
    m_poolOrigin.resize(size_t(ST.size()));
    std::iota(m_poolOrigin.begin(), m_poolOrigin.end(), 0);
    Command1->setEnabled(false);
    Command5->setEnabled(false);

    reportWorkbookFailure();

    qint16 *const counters[] = {&c1, &c2, &c3, &g1, &g2, &g3, &n1, &n2, &n3};
    for (size_t k = 0; k < counts.size(); ++k) {
        if (!counts[k])
            return; // the remaining counters stay as they were
        *counters[k] = *counts[k];
    }
}
