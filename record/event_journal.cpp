#include "record/event_journal.h"

#include <cmath>

#include <QCryptographicHash>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include "platform/disk_sync.h"
#include "platform/fault_points.h"
#include "record/level_names.h"
#include "record/results_file.h"

namespace Journal {

namespace {

const QByteArray kHashMember = QByteArrayLiteral(",\"hash\":\"");
constexpr qsizetype kHexLength = 64;
// `,"hash":"` + 64 hex digits + `"}`
const qsizetype kHashSuffixLength = kHashMember.size() + kHexLength + 2;

const char *const kCounterNames[9] = {"c1", "c2", "c3", "g1", "g2", "g3", "n1", "n2", "n3"};

bool isHex64(const QString &text)
{
    if (text.size() != kHexLength)
        return false;
    for (const QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    }
    return true;
}

QJsonArray winnersArray(const QList<Winner> &winners)
{
    QJsonArray array;
    for (const Winner &w : winners)
        array.append(
            QJsonObject{{QStringLiteral("text"), w.text}, {QStringLiteral("index"), w.index}});
    return array;
}

// A JSON number that is a whole number a qint64 holds (converting any other is undefined).
std::optional<qint64> wholeNumber(double d)
{
    constexpr double kLimit = 9007199254740992.0; // 2^53: every whole number below is exact
    if (!(d >= -kLimit && d <= kLimit) || d != std::trunc(d))
        return std::nullopt;
    return qint64(d);
}

std::optional<QList<Winner>> readWinners(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    QList<Winner> winners;
    for (const QJsonValue &item : value.toArray()) {
        const QJsonObject o = item.toObject();
        const QJsonValue text = o.value(QStringLiteral("text"));
        const QJsonValue index = o.value(QStringLiteral("index"));
        if (!text.isString() || !index.isDouble())
            return std::nullopt;
        const std::optional<qint64> at = wholeNumber(index.toDouble());
        if (!at)
            return std::nullopt;
        winners.append(Winner{text.toString(), *at});
    }
    return winners;
}

std::optional<qint64> readWhole(const QJsonObject &o, const char *name, qint64 low, qint64 high)
{
    const QJsonValue v = o.value(QLatin1String(name));
    if (!v.isDouble())
        return std::nullopt;
    const std::optional<qint64> d = wholeNumber(v.toDouble());
    if (!d || *d < low || *d > high)
        return std::nullopt;
    return d;
}

std::optional<EventStart> readEventStart(const QJsonObject &o)
{
    EventStart s;
    const QJsonValue format = o.value(QStringLiteral("format"));
    if (format.toInt(-1) != kFormat)
        return std::nullopt;
    s.resultsName = o.value(QStringLiteral("results")).toString();
    const QJsonArray titles = o.value(QStringLiteral("titles")).toArray();
    if (titles.size() != 2 || !titles[0].isString() || !titles[1].isString())
        return std::nullopt;
    s.company = titles[0].toString();
    s.activity = titles[1].toString();
    s.loadTime = o.value(QStringLiteral("load_time")).toString();
    s.headerTime = o.value(QStringLiteral("header_time")).toString();
    s.headerSha256 = o.value(QStringLiteral("header_sha256")).toString();
    if (s.resultsName.isEmpty() || s.resultsName.contains(u'/') || s.resultsName.contains(u'\\') ||
        !isHex64(s.headerSha256))
        return std::nullopt;
    const QJsonArray fields = o.value(QStringLiteral("fields")).toArray();
    if (fields.size() != 11)
        return std::nullopt;
    for (int k = 0; k < 11; ++k) {
        if (!fields[k].isString())
            return std::nullopt;
        s.fields[size_t(k + 1)] = fields[k].toString();
    }
    const QJsonObject counters = o.value(QStringLiteral("counters")).toObject();
    for (int k = 0; k < 9; ++k) {
        const auto value = readWhole(counters, kCounterNames[k], 0, 32767);
        if (!value)
            return std::nullopt;
        s.counters[size_t(k)] = qint16(*value);
    }
    const QJsonObject roster = o.value(QStringLiteral("roster")).toObject();
    s.rosterPath = roster.value(QStringLiteral("path")).toString();
    s.rosterSha256 = roster.value(QStringLiteral("sha256")).toString();
    const auto size = readWhole(roster, "size", 0, std::numeric_limits<qint64>::max() / 2);
    const auto pool = readWhole(o, "pool", 0, std::numeric_limits<qint32>::max());
    if (s.rosterPath.isEmpty() || !isHex64(s.rosterSha256) || !size || !pool)
        return std::nullopt;
    s.rosterSize = *size;
    s.poolSize = *pool;
    return s;
}

// What the entries so far have decided: who won, and who can still be redrawn per round.
class Tally
{
public:
    explicit Tally(const EventStart &start) : m_start(start) {}

    QString add(const Entry &e)
    {
        if (!Record::isLevel(e.level))
            return QStringLiteral("奖项不存在");
        if (!isHex64(e.blockSha256))
            return QStringLiteral("缺少结果段校验值");
        if (e.kind == Entry::Kind::Round) {
            if (m_rounds[e.level - 1] >= m_start.configuredRounds(e.level))
                return QStringLiteral("轮次多于设置的次数");
            if (e.round != m_rounds[e.level - 1] + 1)
                return QStringLiteral("轮次编号不连续");
            if (e.winners.size() != m_start.winnersPerRound(e.level))
                return QStringLiteral("中奖人数与设置不符");
            if (const QString fault = take(e.winners); !fault.isEmpty())
                return fault;
            ++m_rounds[e.level - 1];
            QSet<qint64> &present = m_present[key(e)];
            for (const Winner &w : e.winners)
                present.insert(w.index);
            m_lastStop = key(e);
            return QString();
        }
        if (e.round < 1 || e.round > m_rounds[e.level - 1])
            return QStringLiteral("补抽的轮次尚未抽取");
        if (key(e) != m_lastStop)
            return QStringLiteral("补抽的不是最后一次停止的轮次");
        if (e.absent.isEmpty() || e.absent.size() != e.winners.size())
            return QStringLiteral("补抽人数与未到场人数不符");
        QSet<qint64> &present = m_present[key(e)];
        QSet<qint64> absent;
        for (const Winner &w : e.absent) {
            if (!present.contains(w.index) || absent.contains(w.index))
                return QStringLiteral("未到场者不是该轮的中奖者");
            absent.insert(w.index);
        }
        if (const QString fault = take(e.winners); !fault.isEmpty())
            return fault;
        for (qint64 index : absent)
            present.remove(index);
        for (const Winner &w : e.winners)
            present.insert(w.index);
        return QString();
    }

    // Takes back the last entry added, which `add` accepted; `before` is the entry before it.
    void undo(const Entry &e, const Entry *before)
    {
        for (const Winner &w : e.winners)
            m_won.remove(w.index);
        if (e.kind == Entry::Kind::Round) {
            --m_rounds[e.level - 1];
            m_present.remove(key(e));
        } else {
            QSet<qint64> &present = m_present[key(e)];
            for (const Winner &w : e.winners)
                present.remove(w.index);
            for (const Winner &w : e.absent)
                present.insert(w.index);
        }
        m_lastStop = before ? key(*before) : -1;
    }

private:
    static int key(const Entry &e) { return e.level * 100000 + e.round; }

    QString take(const QList<Winner> &winners)
    {
        for (const Winner &w : winners) {
            if (w.index < 0 || w.index >= m_start.poolSize)
                return QStringLiteral("中奖者不在抽奖名单范围内");
            if (m_won.contains(w.index))
                return QStringLiteral("有人重复中奖");
            m_won.insert(w.index);
        }
        return QString();
    }

    const EventStart &m_start;
    int m_rounds[3] = {0, 0, 0};
    QSet<qint64> m_won;
    QHash<int, QSet<qint64>> m_present;
    int m_lastStop = -1; // the level and round of the last entry: the only one a redraw may take
};

std::optional<Entry> readEntry(const QJsonObject &o, Entry::Kind kind)
{
    Entry e;
    e.kind = kind;
    const auto level = readWhole(o, "level", 1, 3);
    const auto round = readWhole(o, "round", 1, 32767);
    if (!level || !round)
        return std::nullopt;
    e.level = int(*level);
    e.round = int(*round);
    e.time = o.value(QStringLiteral("time")).toString();
    e.blockSha256 = o.value(QStringLiteral("block_sha256")).toString();
    const auto winners = readWinners(o.value(
        kind == Entry::Kind::Round ? QStringLiteral("winners") : QStringLiteral("replacements")));
    if (!winners)
        return std::nullopt;
    e.winners = *winners;
    if (kind == Entry::Kind::Redraw) {
        const auto absent = readWinners(o.value(QStringLiteral("absent")));
        if (!absent)
            return std::nullopt;
        e.absent = *absent;
    }
    return e;
}

} // namespace

int History::roundsDrawn(int level) const
{
    int count = 0;
    for (const Entry &e : entries)
        count += e.kind == Entry::Kind::Round && e.level == level;
    return count;
}

int History::roundsDrawn() const
{
    return roundsDrawn(1) + roundsDrawn(2) + roundsDrawn(3);
}

qsizetype History::winnersCount() const
{
    qsizetype count = 0;
    for (const Entry &e : entries)
        count += e.winners.size();
    return count;
}

QList<qint64> History::wonIndices() const
{
    QList<qint64> indices;
    for (const Entry &e : entries) {
        for (const Winner &w : e.winners)
            indices.append(w.index);
    }
    return indices;
}

bool History::isFinished() const
{
    if (!start)
        return false;
    for (int level = 1; level <= 3; ++level) {
        if (roundsDrawn(level) < start->configuredRounds(level))
            return false;
    }
    return true;
}

QString journalPathFor(const QString &resultsPath)
{
    return Results::besideResults(resultsPath, QStringLiteral(".jsonl"));
}

QStringList textsOf(const QList<Winner> &winners)
{
    QStringList texts;
    texts.reserve(winners.size());
    for (const Winner &w : winners)
        texts.append(w.text);
    return texts;
}

QString sha256Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QByteArray encode(QJsonObject body, qint64 seq, const QByteArray &prevHash, QByteArray *hash)
{
    body.insert(QStringLiteral("seq"), seq);
    body.insert(QStringLiteral("prev"), QString::fromLatin1(prevHash));
    const QByteArray content = QJsonDocument(body).toJson(QJsonDocument::Compact);
    const QByteArray digest = sha256Hex(content).toLatin1();
    if (hash)
        *hash = digest;
    return content.chopped(1) + kHashMember + digest + "\"}\n";
}

History read(const QByteArray &bytes)
{
    History h;
    std::optional<Tally> tally;
    qsizetype pos = 0;
    qint64 lineNumber = 0;
    auto fail = [&](const QString &why) {
        h.error = why;
        h.errorLine = lineNumber;
        return h;
    };
    while (pos < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', pos);
        ++lineNumber;
        if (end < 0) {
            h.tornTail = true; // a record cut short by a crash: it never happened
            break;
        }
        const QByteArray line = bytes.mid(pos, end - pos);
        pos = end + 1;

        if (line.size() <= kHashSuffixLength || !line.endsWith("\"}"))
            return fail(QStringLiteral("不是抽奖记录"));
        const qsizetype hashAt = line.size() - kHashSuffixLength;
        if (line.mid(hashAt, kHashMember.size()) != kHashMember)
            return fail(QStringLiteral("记录缺少校验值"));
        const QByteArray hash = line.mid(hashAt + kHashMember.size(), kHexLength);
        const QByteArray content = line.left(hashAt) + '}';
        if (sha256Hex(content).toLatin1() != hash)
            return fail(QStringLiteral("记录内容与校验值不符（记录被改动）"));
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
        if (parseError.error != QJsonParseError::NoError || !document.isObject())
            return fail(QStringLiteral("记录格式无法读取"));
        const QJsonObject o = document.object();
        if (o.value(QStringLiteral("prev")).toString().toLatin1() != h.lastHash)
            return fail(QStringLiteral("记录链断裂（记录被删除、插入或调换）"));
        if (readWhole(o, "seq", 0, std::numeric_limits<qint32>::max()) != h.lastSeq + 1)
            return fail(QStringLiteral("记录序号不连续"));

        const QString kind = o.value(QStringLiteral("kind")).toString();
        if (!h.start) {
            if (kind != QStringLiteral("event"))
                return fail(QStringLiteral("记录不是以抽奖信息开始"));
            h.start = readEventStart(o);
            if (!h.start)
                return fail(QStringLiteral("抽奖信息记录无法读取"));
            tally.emplace(*h.start);
        } else if (kind == QStringLiteral("round") || kind == QStringLiteral("redraw")) {
            const auto entry = readEntry(o, kind == QStringLiteral("round") ? Entry::Kind::Round
                                                                            : Entry::Kind::Redraw);
            if (!entry)
                return fail(QStringLiteral("抽奖轮次记录无法读取"));
            if (const QString fault = tally->add(*entry); !fault.isEmpty())
                return fail(fault);
            h.entries.append(*entry);
            h.voided.reset();
            h.rolledAfterLastStop = false;
        } else if (kind == QStringLiteral("continued")) {
            const auto kept = readWhole(o, "entries", 0, std::numeric_limits<qint32>::max());
            if (!kept)
                return fail(QStringLiteral("继续抽奖记录无法读取"));
            // Only the last entry can have lacked its block; a record voiding more rewrites
            // the event's history.
            if (*kept > h.entries.size() || *kept < h.entries.size() - 1)
                return fail(QStringLiteral("继续抽奖记录作废的不只是最后一轮"));
            if (*kept == h.entries.size() - 1) {
                const Entry *before =
                    h.entries.size() >= 2 ? &h.entries[h.entries.size() - 2] : nullptr;
                tally->undo(h.entries.last(), before);
                h.voided = h.entries.takeLast();
                ++h.voidedCount;
                h.workbookEntries = std::min(h.workbookEntries, h.entries.size());
                // A voided round's stop ended a level's roll; a voided redraw can be made again.
                if (h.voided->kind == Entry::Kind::Round)
                    h.rolledAfterLastStop = true;
            }
        } else if (kind == QStringLiteral("roll")) {
            if (!readWhole(o, "level", 1, 3))
                return fail(QStringLiteral("抽奖开始记录无法读取"));
            h.rolledAfterLastStop = true;
        } else if (kind == QStringLiteral("set_aside")) {
            h.setAside = true;
        } else if (kind == QStringLiteral("workbook")) {
            const QString sha = o.value(QStringLiteral("sha256")).toString();
            const auto rows = readWhole(o, "rows", 0, std::numeric_limits<qint32>::max());
            if (!isHex64(sha) || !rows)
                return fail(QStringLiteral("表格记录无法读取"));
            h.workbookSha256 = sha;
            h.workbookRows = *rows;
            h.workbookEntries = h.entries.size();
        } else {
            return fail(QStringLiteral("未知的记录类型"));
        }
        h.lastHash = hash;
        h.hashes.append(hash);
        h.lastSeq += 1;
        h.wholeBytes = pos;
    }
    if (!h.start && h.error.isEmpty())
        h.error = QStringLiteral("没有抽奖信息记录");
    return h;
}

QJsonObject eventRecord(const EventStart &s)
{
    QJsonArray fields;
    for (int k = 1; k <= 11; ++k)
        fields.append(s.fields[size_t(k)]);
    QJsonObject counters;
    for (int k = 0; k < 9; ++k)
        counters.insert(QLatin1String(kCounterNames[k]), int(s.counters[size_t(k)]));
    return QJsonObject{
        {QStringLiteral("kind"), QStringLiteral("event")},
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("results"), s.resultsName},
        {QStringLiteral("titles"), QJsonArray{s.company, s.activity}},
        {QStringLiteral("load_time"), s.loadTime},
        {QStringLiteral("header_time"), s.headerTime},
        {QStringLiteral("header_sha256"), s.headerSha256},
        {QStringLiteral("fields"), fields},
        {QStringLiteral("counters"), counters},
        {QStringLiteral("roster"), QJsonObject{{QStringLiteral("path"), s.rosterPath},
                                               {QStringLiteral("size"), s.rosterSize},
                                               {QStringLiteral("sha256"), s.rosterSha256}}},
        {QStringLiteral("pool"), s.poolSize},
    };
}

QJsonObject entryRecord(const Entry &e)
{
    QJsonObject o{{QStringLiteral("level"), e.level},
                  {QStringLiteral("round"), e.round},
                  {QStringLiteral("time"), e.time},
                  {QStringLiteral("block_sha256"), e.blockSha256}};
    if (e.kind == Entry::Kind::Round) {
        o.insert(QStringLiteral("kind"), QStringLiteral("round"));
        o.insert(QStringLiteral("winners"), winnersArray(e.winners));
    } else {
        o.insert(QStringLiteral("kind"), QStringLiteral("redraw"));
        o.insert(QStringLiteral("absent"), winnersArray(e.absent));
        o.insert(QStringLiteral("replacements"), winnersArray(e.winners));
    }
    return o;
}

QJsonObject setAsideRecord(const QString &time)
{
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("set_aside")},
                       {QStringLiteral("time"), time}};
}

QJsonObject workbookRecord(const QString &sha256, qint64 rows)
{
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("workbook")},
                       {QStringLiteral("sha256"), sha256},
                       {QStringLiteral("rows"), rows}};
}

QJsonObject rollRecord(int level, const QString &time)
{
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("roll")},
                       {QStringLiteral("level"), level},
                       {QStringLiteral("time"), time}};
}

QJsonObject continuedRecord(const QString &time, qsizetype entriesKept)
{
    return QJsonObject{{QStringLiteral("kind"), QStringLiteral("continued")},
                       {QStringLiteral("time"), time},
                       {QStringLiteral("entries"), qint64(entriesKept)}};
}

bool Writer::create(const QString &path)
{
    close();
    m_file.setFileName(path);
    m_seq = -1;
    m_prev.clear();
    m_length = 0;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::NewOnly))
        return false;
    syncDirectory(QFileInfo(path).absolutePath());
    return true;
}

bool Writer::openToContinue(const QString &path, const History &history)
{
    close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    // A torn last record is cut off, so the next record starts a line of its own.
    if (!truncateAndSync(m_file, history.wholeBytes)) {
        m_file.close();
        return false;
    }
    m_length = history.wholeBytes;
    m_seq = history.lastSeq;
    m_prev = history.lastHash;
    return true;
}

bool Writer::append(const QJsonObject &body)
{
    if (!m_file.isOpen())
        return false;
    // A record half on disk would break the chain for every later one: a failed write is cut
    // off again before anything else is written, and the chain goes on from the last whole one.
    if (m_file.size() != m_length && !truncateAndSync(m_file, m_length))
        return false;
    QByteArray hash;
    const QByteArray line = encode(body, m_seq + 1, m_prev, &hash);
    const bool refused = FaultPoints::hit("journal-write");
    if (refused || m_file.write(line) != line.size() || !syncToDisk(m_file)) {
        truncateAndSync(m_file, m_length);
        return false;
    }
    m_length += line.size();
    ++m_seq;
    m_prev = hash;
    return true;
}

void Writer::close()
{
    if (m_file.isOpen())
        m_file.close();
}

} // namespace Journal
