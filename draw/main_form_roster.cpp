// Loading the roster into the pool and opening this run's results file.
#include <QDateTime>
#include <QPushButton>
#include <QStringListModel>

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

    QStringList lines;
    if (!TextCodec::readLines(chosen, lines))
        return; // cannot be opened or read: the operator may pick again

    Roster::Pool pool = Roster::buildPool(lines);
    m_list2Items->setStringList(pool.accepted);
    Command8->setEnabled(!pool.accepted.isEmpty());
    ST = std::move(pool.entries);
    iCount = qint32(ST.size()) - 1;

    Command1->setEnabled(false);
    Command5->setEnabled(false);

    RandomSource::shared().reseedFromClock();

    const QDateTime now = QDateTime::currentDateTime();
    str2 = Results::freePath(mstrPath, now);
    Results::HeaderFields header;
    header.company = Label4->text();
    header.activity = Label9->text();
    header.dateTime = Results::dateTimeText(now);
    header.firstPrize = settings->fieldText(9);
    header.secondPrize = settings->fieldText(10);
    header.thirdPrize = settings->fieldText(11);
    if (!m_results.create(str2) || !m_results.write(Results::headerText(header))) {
        m_results.close();
        // The event cannot be drawn without its record: back to loading, so the operator can
        // mend the folder and load again.
        Command8->setEnabled(false);
        Command1->setEnabled(true);
        showMessage(QStringLiteral("无法创建中奖名单文件：") + str2);
        return;
    }

    qint16 *const counters[] = {&c1, &c2, &c3, &g1, &g2, &g3, &n1, &n2, &n3};
    const int fields[] = {1, 3, 5, 1, 3, 5, 2, 4, 6};
    for (size_t k = 0; k < std::size(fields); ++k) {
        const std::optional<qint16> value = NumericText::toInt16(settings->fieldText(fields[k]));
        if (!value)
            return; // the remaining counters stay as they were
        *counters[k] = *value;
    }
}
