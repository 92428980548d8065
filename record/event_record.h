#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

#include "record/event_journal.h"
#include "record/results_file.h"

// The event's record on disk: the results file and its journal. The main window asks it to
// start an event, record rounds and redraws, find an unfinished event and continue it.
namespace Record {

struct Fingerprint
{
    qint64 size = 0;
    QString sha256; // hex
    bool operator==(const Fingerprint &) const = default;
};
Fingerprint fingerprintOf(const QByteArray &bytes);
// Whether a roster file's bytes are the ones the event was loaded from (size and SHA-256).
bool isRecordedRoster(const Journal::EventStart &start, const QByteArray &rosterBytes);

// The first recorded winner (round winners, replacements and absent winners) whose text is not
// the pool's at their position: the pool is not the one the event was drawn from.
struct PoolMismatch
{
    const Journal::Entry *entry = nullptr;
    Journal::Winner winner;
};
std::optional<PoolMismatch> firstPoolMismatch(const QList<Journal::Entry> &entries,
                                              const QStringList &pool);

// How far a results file agrees with its journal.
struct Reconciled
{
    QString error;                // empty when they tell the same story
    qsizetype countedEntries = 0; // entries whose block is whole in the file
    qint64 wholeBytes = 0;        // the file's length up to its last whole block
};
// The header and then every entry's block, byte for byte. Only the last entry may lack its
// block, or have only the start of it, or something no longer than it in its place (the zeros
// or garbage a power cut leaves where a write was lost): a kill came between its record and its
// block, so that round was never drawn.
Reconciled reconcile(const Journal::History &history, const QByteArray &results);

// The exact bytes an entry's block adds to the results file.
QByteArray blockBytes(const Journal::Entry &entry);
QByteArray headerBytes(const Journal::EventStart &start);

// An event a new start can offer to continue.
struct UnfinishedEvent
{
    QString journalPath;
    QString resultsPath;
    Journal::History history; // its entries are those that count
    qint64 resultsWholeBytes = 0;

    QString resultsName() const { return history.start->resultsName; }
};

// The newest unfinished event in the folder that is sound, agrees with its results file and has
// not been set aside (see StartupSurvey for what a start does first).
std::optional<UnfinishedEvent> findUnfinished(const QString &directory);

// Marks the event as not to be continued; no file is removed or rewritten.
bool setAside(const UnfinishedEvent &event);

// The local time as records write it, "2026-12-10T10:24:35".
QString nowText();

// "b74a e4b4 9875 98ca": the first 16 hex digits of a record's hash, in groups of four.
QString codeOf(const QByteArray &hash);

class EventRecord
{
public:
    // Creates the results file with its header and the journal with the event record. False
    // when either cannot be written: then neither file is left behind (failedPath() names it).
    bool start(const QString &resultsPath, const Journal::EventStart &start);

    // A level's roll started: from now on the last stop can no longer be redrawn.
    void recordRoll(int level);
    // A stopped round, and a redraw of a round's absent winners. The journal's record is written
    // before the block; see writeEntry. False when either could not be written and synced: then
    // the stop does not count, nothing of it stays in the files, and failedPath() names the file.
    bool recordRound(int level, int round, const QList<Journal::Winner> &winners);
    bool recordRedraw(int level, int round, const QList<Journal::Winner> &absent,
                      const QList<Journal::Winner> &replacements);

    // Checks that `pool` (built from the recorded roster) is the recorded pool, then opens both
    // files to go on. The winners' positions are History::wonIndices(). False with an empty
    // failedPath() when the pool differs, else failedPath() names the file that cannot be written.
    bool continueEvent(const UnfinishedEvent &event, const QStringList &pool);

    // The first prize's last round closes the results file; rounds after it reopen it.
    void endEvent();
    bool hasEnded() const { return m_ended; }
    void close();

    const ResultsFile &resultsFile() const { return m_results; }
    QString workbookPath() const { return m_workbookPath; }
    // The file the last failed write was for.
    QString failedPath() const { return m_failedPath; }
    // The record's code: the start of the journal's last hash, for the hall to photograph.
    QString code() const;
    // True once per event, after the workbook first failed to be written.
    bool takeWorkbookFailure();

private:
    bool writeEntry(const Journal::Entry &entry, const QByteArray &block);
    bool appendToJournal(const QJsonObject &body);
    bool voidPendingRecord();
    void rewriteWorkbook();

    ResultsFile m_results;
    Journal::Writer m_journal;
    QList<Journal::Entry> m_entries; // the rounds and redraws that count, for the workbook
    QString m_workbookPath;
    QString m_failedPath;
    bool m_voidPending = false; // a record whose block failed still waits to be voided
    bool m_workbookFailed = false;
    bool m_workbookFailureReported = false;
    bool m_ended = false;
};

} // namespace Record
