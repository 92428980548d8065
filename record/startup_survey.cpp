#include "record/startup_survey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/disk_sync.h"
#include "platform/fault_points.h"
#include "platform/text_codec.h"
#include "record/workbook.h"

namespace Record {

namespace {

// A journal is a few hundred bytes a round; anything far larger is not one of ours.
constexpr qint64 kMaxJournalBytes = 256LL * 1024 * 1024;

std::optional<QByteArray> readBounded(const QString &path)
{
    return TextCodec::readRegularFile(path, kMaxJournalBytes);
}

bool cutFile(const QString &path, qint64 length)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append) && truncateAndSync(file, length);
}

// One event's files, as a start finds them and leaves them.
struct Candidate
{
    QString order; // load time: which event is the newest
    QString resultsName;
    QString fault; // the files disagree: the event cannot be continued
    std::optional<UnfinishedEvent> event;
    bool offerable = false;
};

// Brings a sound journal up to date with its results file and workbook; the history read back.
std::optional<Journal::History> bringUpToDate(const QString &journalPath,
                                              const QString &resultsPath, Journal::History h,
                                              const Reconciled &r, QString *fault)
{
    if (r.countedEntries < h.entries.size()) {
        // The cut comes first: killed between the two, the next start finds the same record
        // without its block and voids it then.
        Journal::Writer writer;
        const bool cut = cutFile(resultsPath, r.wholeBytes);
        FaultPoints::hit("results-cut");
        if (!cut || !writer.openToContinue(journalPath, h) ||
            !writer.append(Journal::continuedRecord(nowText(), r.countedEntries))) {
            *fault = QStringLiteral("无法修复被中断的最后一轮（文件无法写入）");
            return std::nullopt;
        }
    } else if (h.tornTail) {
        Journal::Writer writer;
        if (!writer.openToContinue(journalPath, h)) {
            *fault = QStringLiteral("无法修复抽奖记录（文件无法写入）");
            return std::nullopt;
        }
    }
    if (r.countedEntries < h.entries.size() || h.tornTail) {
        const auto bytes = readBounded(journalPath);
        if (!bytes)
            return std::nullopt;
        h = Journal::read(*bytes);
        if (!h.isSound()) {
            *fault = h.error;
            return std::nullopt;
        }
    }

    const QString workbookPath = Workbook::pathFor(resultsPath);
    const QList<Workbook::Row> rows = Workbook::rowsFor(h.entries);
    const std::optional<QByteArray> current = readBounded(workbookPath);
    if (current && h.workbookRows == rows.size() &&
        Journal::sha256Hex(*current) == h.workbookSha256)
        return h;
    // A kill between a block and the workbook's rewrite, or a workbook of an older build.
    const std::optional<QByteArray> bytes =
        Workbook::build(rows, QFileInfo(workbookPath).absolutePath());
    Journal::Writer writer;
    if (bytes && Workbook::replaceFile(workbookPath, *bytes) &&
        writer.openToContinue(journalPath, h) &&
        writer.append(Journal::workbookRecord(Journal::sha256Hex(*bytes), rows.size()))) {
        writer.close();
        if (const auto again = readBounded(journalPath))
            h = Journal::read(*again);
    }
    return h;
}

Candidate examine(const QDir &dir, const QFileInfo &info)
{
    Candidate c;
    c.order = info.lastModified().toString(Qt::ISODate);
    c.resultsName = info.completeBaseName() + QStringLiteral(".txt");
    const auto bytes = readBounded(info.filePath());
    if (!bytes) {
        c.fault = QStringLiteral("抽奖记录无法读取");
        return c;
    }
    Journal::History h = Journal::read(*bytes);
    if (h.start) {
        c.order = h.start->loadTime;
        c.resultsName = h.start->resultsName;
    }
    if (!h.isSound()) {
        c.fault = QStringLiteral("抽奖记录第 %1 行：%2").arg(h.errorLine).arg(h.error);
        return c;
    }
    const QString resultsPath = dir.filePath(h.start->resultsName);
    if (Journal::journalPathFor(resultsPath) != info.filePath()) {
        c.order.clear(); // a journal copied or renamed away from its results file: not an event
        return c;
    }
    const auto results = readBounded(resultsPath);
    if (!results) {
        c.fault = QStringLiteral("中奖名单文件不存在或无法读取");
        return c;
    }
    const Reconciled r = reconcile(h, *results);
    if (!r.error.isEmpty()) {
        c.fault = r.error;
        return c;
    }
    const auto current = bringUpToDate(info.filePath(), resultsPath, h, r, &c.fault);
    if (!current)
        return c;
    UnfinishedEvent event;
    event.journalPath = info.filePath();
    event.resultsPath = resultsPath;
    event.history = *current;
    event.resultsWholeBytes = r.wholeBytes;
    const Journal::History &now = event.history;
    const bool redrawLost = now.voided && now.voided->kind == Journal::Entry::Kind::Redraw;
    c.offerable = !now.setAside && (!now.isFinished() || redrawLost);
    c.event = std::move(event);
    return c;
}

} // namespace

void removeScratchFiles(const QString &directory)
{
    const QDir dir(directory);
    // The library's scratch workbook, and QSaveFile's copy of a workbook being replaced.
    static const QRegularExpression scratch(
        QStringLiteral("^(lumora-[A-Za-z0-9]{6}\\.xlsx|中奖名单.*\\.xlsx\\.[A-Za-z0-9]{6})$"));
    bool removed = false;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (scratch.match(name).hasMatch())
            removed |= QFile::remove(dir.filePath(name));
    }
    if (removed)
        syncDirectory(directory);
}

StartupSurvey surveyFolder(const QString &directory)
{
    removeScratchFiles(directory);
    const QDir dir(directory);
    StartupSurvey survey;
    std::optional<Candidate> newest, newestOfferable;
    for (const QFileInfo &info :
         dir.entryInfoList({QStringLiteral("中奖名单*.jsonl")}, QDir::Files, QDir::Name)) {
        Candidate c = examine(dir, info);
        if (c.order.isEmpty())
            continue;
        if (c.offerable && (!newestOfferable || c.order > newestOfferable->order))
            newestOfferable = c;
        if (!newest || c.order > newest->order)
            newest = std::move(c);
    }
    if (newest && !newest->fault.isEmpty()) {
        // Never fall back silently to an older event (a rehearsal, say) in its place.
        survey.brokenName = newest->resultsName;
        survey.brokenReason = newest->fault;
        return survey;
    }
    if (newestOfferable)
        survey.offer = std::move(newestOfferable->event);
    return survey;
}

std::optional<UnfinishedEvent> findUnfinished(const QString &directory)
{
    return surveyFolder(directory).offer;
}

} // namespace Record
