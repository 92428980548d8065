#include "record/event_record.h"

#include <QDateTime>
#include <QFileInfo>

#include "platform/disk_sync.h"
#include "platform/fault_points.h"
#include "platform/text_codec.h"
#include "record/workbook.h"

namespace Record {

Fingerprint fingerprintOf(const QByteArray &bytes)
{
    return Fingerprint{bytes.size(), Journal::sha256Hex(bytes)};
}

bool isRecordedRoster(const Journal::EventStart &start, const QByteArray &rosterBytes)
{
    return fingerprintOf(rosterBytes) == Fingerprint{start.rosterSize, start.rosterSha256};
}

std::optional<PoolMismatch> firstPoolMismatch(const QList<Journal::Entry> &entries,
                                              const QStringList &pool)
{
    for (const Journal::Entry &e : entries) {
        for (const QList<Journal::Winner> *list : {&e.winners, &e.absent}) {
            for (const Journal::Winner &w : *list) {
                if (w.index < 0 || w.index >= pool.size() || pool[w.index] != w.text)
                    return PoolMismatch{&e, w};
            }
        }
    }
    return std::nullopt;
}

QByteArray headerBytes(const Journal::EventStart &start)
{
    Results::HeaderFields header;
    header.company = start.company;
    header.activity = start.activity;
    header.dateTime = start.headerTime;
    header.firstPrize = start.fields[9];
    header.secondPrize = start.fields[10];
    header.thirdPrize = start.fields[11];
    return Results::headerBytes(header);
}

QByteArray blockBytes(const Journal::Entry &entry)
{
    const QString winners = Results::winnersText(Journal::textsOf(entry.winners));
    if (entry.kind == Journal::Entry::Kind::Round)
        return Results::roundBlockBytes(entry.level, entry.round, winners);
    return Results::redrawBlockBytes(entry.level, entry.round, Journal::textsOf(entry.absent),
                                     winners);
}

Reconciled reconcile(const Journal::History &history, const QByteArray &results)
{
    Reconciled r;
    if (!history.start) {
        r.error = QStringLiteral("没有抽奖信息记录");
        return r;
    }
    const QByteArray header = headerBytes(*history.start);
    if (!results.startsWith(header) || Journal::sha256Hex(header) != history.start->headerSha256) {
        r.error = QStringLiteral("文件开头与记录不符");
        return r;
    }
    qint64 at = header.size();
    for (qsizetype k = 0; k < history.entries.size(); ++k) {
        const QByteArray block = blockBytes(history.entries[k]);
        if (Journal::sha256Hex(block) != history.entries[k].blockSha256) {
            r.error = QStringLiteral("第 %1 条记录的结果段与其校验值不符").arg(k + 1);
            return r;
        }
        if (results.size() - at >= block.size() &&
            QByteArrayView(results).sliced(at, block.size()) == block) {
            at += block.size();
            ++r.countedEntries;
            continue;
        }
        const QByteArrayView rest = QByteArrayView(results).sliced(at);
        const bool last = k == history.entries.size() - 1;
        // Killed before its block was whole, or a power cut left zeros or garbage where the
        // block's bytes were lost: never drawn. Anything longer is no torn block, and neither is
        // a block the workbook's record came after (it had been written whole).
        const bool confirmed = history.workbookEntries > k;
        if (last && !confirmed && rest.size() <= block.size())
            break;
        r.error = QStringLiteral("第 %1 条记录的结果段不在中奖名单文件中").arg(k + 1);
        return r;
    }
    if (r.countedEntries == history.entries.size() && at != results.size()) {
        r.error = QStringLiteral("中奖名单文件中有记录之外的内容");
        return r;
    }
    r.wholeBytes = at;
    return r;
}

bool setAside(const UnfinishedEvent &event)
{
    Journal::Writer writer;
    if (!writer.openToContinue(event.journalPath, event.history))
        return false;
    const bool written = writer.append(Journal::setAsideRecord(nowText()));
    writer.close();
    return written;
}

QString nowText()
{
    return QDateTime::currentDateTime().toString(Qt::ISODate);
}

QString codeOf(const QByteArray &hash)
{
    const QString digits = QString::fromLatin1(hash.left(16));
    QStringList groups;
    for (qsizetype at = 0; at < digits.size(); at += 4)
        groups.append(digits.mid(at, 4));
    return groups.join(u' ');
}

bool EventRecord::start(const QString &resultsPath, const Journal::EventStart &start)
{
    close();
    m_ended = false;
    m_entries.clear();
    m_voidPending = false;
    m_workbookFailed = m_workbookFailureReported = false;
    m_workbookPath = Workbook::pathFor(resultsPath);
    const QString journalPath = Journal::journalPathFor(resultsPath);
    const QByteArray header = headerBytes(start);
    Journal::EventStart recorded = start;
    recorded.resultsName = QFileInfo(resultsPath).fileName();
    recorded.headerSha256 = Journal::sha256Hex(header);

    // An event is drawn only with its whole record: a results file without a journal could not
    // be continued after a crash, and an empty one would take the hour's name from the event.
    bool resultsCreated = false, journalCreated = false;
    m_failedPath = resultsPath;
    bool ok = (resultsCreated = m_results.create(resultsPath)) && m_results.writeBytes(header);
    if (ok) {
        m_failedPath = journalPath;
        ok = (journalCreated = m_journal.create(journalPath)) &&
             m_journal.append(Journal::eventRecord(recorded));
    }
    if (!ok) {
        close();
        if (resultsCreated)
            QFile::remove(resultsPath);
        if (journalCreated)
            QFile::remove(journalPath);
        syncDirectory(QFileInfo(resultsPath).absolutePath());
        return false;
    }
    m_failedPath.clear();
    rewriteWorkbook();
    return true;
}

QString EventRecord::code() const
{
    return codeOf(m_journal.lastHash());
}

bool EventRecord::voidPendingRecord()
{
    if (m_voidPending && m_journal.append(Journal::continuedRecord(nowText(), m_entries.size())))
        m_voidPending = false;
    return !m_voidPending;
}

bool EventRecord::appendToJournal(const QJsonObject &body)
{
    // A record whose block could not be written is voided before anything follows it, or the
    // chain would hold a round twice.
    return voidPendingRecord() && m_journal.append(body);
}

void EventRecord::recordRoll(int level)
{
    // Only what a redraw after continuing may do depends on it; a stop records the round anyway.
    appendToJournal(Journal::rollRecord(level, nowText()));
}

void EventRecord::rewriteWorkbook()
{
    // The workbook is a copy for people; when it cannot be written, the draw goes on.
    const QList<Workbook::Row> rows = Workbook::rowsFor(m_entries);
    const std::optional<QByteArray> bytes =
        Workbook::build(rows, QFileInfo(m_workbookPath).absolutePath());
    if (!bytes || !Workbook::replaceFile(m_workbookPath, *bytes)) {
        m_workbookFailed = true;
        return;
    }
    FaultPoints::hit("workbook-replaced");
    appendToJournal(Journal::workbookRecord(Journal::sha256Hex(*bytes), rows.size()));
}

bool EventRecord::takeWorkbookFailure()
{
    if (!m_workbookFailed || m_workbookFailureReported)
        return false;
    m_workbookFailureReported = true;
    return true;
}

bool EventRecord::recordRound(int level, int round, const QList<Journal::Winner> &winners)
{
    Journal::Entry entry;
    entry.kind = Journal::Entry::Kind::Round;
    entry.level = level;
    entry.round = round;
    entry.winners = winners;
    return writeEntry(entry, blockBytes(entry));
}

bool EventRecord::recordRedraw(int level, int round, const QList<Journal::Winner> &absent,
                               const QList<Journal::Winner> &replacements)
{
    Journal::Entry entry;
    entry.kind = Journal::Entry::Kind::Redraw;
    entry.level = level;
    entry.round = round;
    entry.absent = absent;
    entry.winners = replacements;
    return writeEntry(entry, blockBytes(entry));
}

bool EventRecord::writeEntry(const Journal::Entry &recorded, const QByteArray &block)
{
    Journal::Entry entry = recorded;
    entry.time = nowText();
    entry.blockSha256 = Journal::sha256Hex(block);
    // The journal's record is synced before the block is written. A round counts when its block
    // is whole in the results file, so a kill at any instant leaves one of three states: no
    // record and no block (nothing happened); a record whose block is missing or torn (the next
    // start sees it is the last record, voids it and cuts the torn bytes: the round is drawn
    // again); or both whole. The other order could leave a whole block the journal does not know,
    // and the event could no longer be continued.
    if (!appendToJournal(Journal::entryRecord(entry))) {
        m_failedPath = m_journal.path();
        return false;
    }
    FaultPoints::hit("record-written");
    const bool reopened = !m_results.isOpen() && m_ended && m_results.reopenForAppend();
    const bool written = m_results.writeBytes(block);
    if (reopened)
        m_results.close();
    if (!written) {
        // The stop does not count: its record is voided now if the disk lets it, else before the
        // next record (and a new start voids it in any case, as its block is missing).
        m_failedPath = m_results.path();
        m_voidPending = true;
        voidPendingRecord();
        return false;
    }
    m_failedPath.clear();
    FaultPoints::hit("block-written");
    // After the block, so the workbook never holds a round the results file lacks.
    m_entries.append(entry);
    rewriteWorkbook();
    return true;
}

bool EventRecord::continueEvent(const UnfinishedEvent &event, const QStringList &pool)
{
    const Journal::History &h = event.history;
    m_failedPath.clear();
    if (pool.size() != h.start->poolSize || firstPoolMismatch(h.entries, pool))
        return false;
    // The start's survey has already cut what a kill tore and brought the workbook up to date:
    // opening the files changes nothing in them.
    close();
    m_voidPending = false;
    if (!m_results.openToContinue(event.resultsPath, event.resultsWholeBytes)) {
        m_failedPath = event.resultsPath;
        close();
        return false;
    }
    if (!m_journal.openToContinue(event.journalPath, h) ||
        !m_journal.append(Journal::continuedRecord(nowText(), h.entries.size()))) {
        m_failedPath = event.journalPath;
        close();
        return false;
    }
    m_entries = h.entries;
    m_workbookFailed = m_workbookFailureReported = false;
    m_workbookPath = Workbook::pathFor(event.resultsPath);
    // After the first prize's last round the file stays closed between rounds, as it would have.
    m_ended = h.roundsDrawn(1) >= h.start->configuredRounds(1);
    if (m_ended)
        m_results.close();
    return true;
}

void EventRecord::endEvent()
{
    m_results.close();
    m_ended = true;
}

void EventRecord::close()
{
    m_results.close();
    m_journal.close();
}

} // namespace Record
