#pragma once

#include <QByteArray>
#include <QFile>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The event journal: a machine-readable account of one event, beside its results file, in JSON
// Lines (UTF-8, one record a line, "\n" after each). Every record is a JSON object whose last
// member is "hash": the SHA-256 (hex) of the record's exact bytes up to that member, with the
// closing brace. Every record names the previous record's hash in "prev" (empty for the first),
// so the records form a chain in which an edit, a removal or a reordering shows.
namespace Journal {

inline constexpr int kFormat = 1;

// A winner by its pool text and its position in the pool as it was loaded, which tells apart
// two entries of the same text.
struct Winner
{
    QString text;
    qint64 index = -1;
    bool operator==(const Winner &) const = default;
};

// The winners' texts, in order.
QStringList textsOf(const QList<Winner> &winners);

// The first record: everything a new start needs to rebuild the event.
struct EventStart
{
    QString resultsName;              // the results file's name in the program directory
    QString company, activity;        // the stage titles, as the header has them
    QString loadTime;                 // ISO local date-time of the roster load
    QString headerTime;               // the draw time as the header shows it
    std::array<QString, 12> fields;   // Text1 … Text11 of the prize settings; [0] unused
    std::array<qint16, 9> counters{}; // c1 c2 c3 g1 g2 g3 n1 n2 n3 at the load
    QString rosterPath;               // full path of the roster file
    qint64 rosterSize = 0;            // its size in bytes
    QString rosterSha256;             // hex SHA-256 of its bytes
    qint64 poolSize = 0;              // entries in the pool built from it
    QString headerSha256;             // hex SHA-256 of the header bytes in the results file

    qint16 configuredRounds(int level) const { return counters[size_t(level - 1)]; }
    qint16 winnersPerRound(int level) const { return counters[size_t(6 + level - 1)]; }
};

// A stopped round or a redraw (补抽) of one.
struct Entry
{
    enum class Kind { Round, Redraw };
    Kind kind = Kind::Round;
    int level = 0;
    int round = 0;
    QString time;          // ISO local date-time of the stop
    QList<Winner> winners; // a round's winners, or a redraw's replacements
    QList<Winner> absent;  // a redraw's absent winners
    QString blockSha256;   // hex SHA-256 of the bytes the block added to the results file
};

// A journal read back and checked on its own (the results file is checked elsewhere).
struct History
{
    std::optional<EventStart> start;
    QList<Entry> entries; // rounds and redraws that count, in order
    // The entry the last `continued` record voided (its block never reached the results file),
    // when no entry came after it.
    std::optional<Entry> voided;
    // A level's roll started after the last entry that counts: its round can no longer be
    // redrawn, as in the running program.
    bool rolledAfterLastStop = false;
    int voidedCount = 0; // entries voided by `continued` records, in all
    // Entries the last `workbook` record came after: their blocks had reached the results file.
    qsizetype workbookEntries = 0;
    QList<QByteArray> hashes; // every whole record's hash, in order
    bool setAside = false;
    bool tornTail = false;    // the last line was incomplete and is ignored
    qint64 wholeBytes = 0;    // the length of the whole records
    QByteArray lastHash;      // the hash of the last whole record: the journal's final digest
    QString workbookSha256;   // the workbook's digest after its last rewrite, if any
    qint64 workbookRows = -1; // and its rows below the header
    qint64 lastSeq = -1;
    QString error;        // empty when the journal is sound
    qint64 errorLine = 0; // 1-based line of the first fault

    bool isSound() const { return error.isEmpty() && start.has_value(); }
    int roundsDrawn(int level) const;
    int roundsDrawn() const;
    // Everyone who won: round winners and replacements.
    qsizetype winnersCount() const;
    // The pool positions of everyone who won, absent winners included.
    QList<qint64> wonIndices() const;
    bool isFinished() const;
};

// The journal's path for a results file: the same name with ".jsonl" for ".txt".
QString journalPathFor(const QString &resultsPath);

// Parses and checks the journal: the chain, the order of the records, the round numbers, the
// winners per round, positions inside the pool and nobody drawn twice.
History read(const QByteArray &bytes);

// Record bodies (without seq, prev and hash).
QJsonObject eventRecord(const EventStart &start);
QJsonObject entryRecord(const Entry &entry);
QJsonObject setAsideRecord(const QString &time);
// The workbook rewritten: the SHA-256 of its bytes and its winner rows.
QJsonObject workbookRecord(const QString &sha256, qint64 rows);
// A level's roll has started (a stop may follow; the round before can no longer be redrawn).
QJsonObject rollRecord(int level, const QString &time);
// Continuing an event voids every entry after the first `entriesKept` (a round whose block never
// reached the results file): at most the last one.
QJsonObject continuedRecord(const QString &time, qsizetype entriesKept);

// The line for a record: the body with seq and prev, then its hash.
QByteArray encode(QJsonObject body, qint64 seq, const QByteArray &prevHash,
                  QByteArray *hash = nullptr);

QString sha256Hex(const QByteArray &bytes);

// The open journal, appended to record by record; each record is synced before append returns.
class Writer
{
public:
    // A new journal; false when it cannot be created (or already exists).
    bool create(const QString &path);
    // An existing journal, cut back to its whole records, to go on with.
    bool openToContinue(const QString &path, const History &history);
    // False when the record could not be written and synced; then it is not in the journal
    // (cut off again as far as the disk allows) and the writer stays open for the next one.
    bool append(const QJsonObject &body);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    QByteArray lastHash() const { return m_prev; }

private:
    QFile m_file;
    qint64 m_length = 0; // the bytes of the whole records
    qint64 m_seq = -1;
    QByteArray m_prev;
};

} // namespace Journal
