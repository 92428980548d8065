#include "record/verify.h"

#include <QFileInfo>

#include "platform/text_codec.h"
#include "record/event_journal.h"
#include "record/event_record.h"
#include "record/level_names.h"
#include "record/workbook.h"
#include "record/workbook_reader.h"

namespace Verify {

namespace {

const QString kPassed = QStringLiteral("核验通过");
const QString kFailed = QStringLiteral("核验失败：");

// Files larger than this are not an event's record or roster.
constexpr qint64 kMaxFileBytes = 2LL * 1024 * 1024 * 1024;

std::optional<QByteArray> readWhole(const QString &path)
{
    return TextCodec::readRegularFile(path, kMaxFileBytes);
}

QString name(const QString &path)
{
    return QFileInfo(path).fileName();
}

qint64 lineAt(const QByteArray &bytes, qint64 offset)
{
    return QByteArrayView(bytes).first(std::min<qint64>(offset, bytes.size())).count('\n') + 1;
}

QString describe(const Journal::Entry &e)
{
    return Record::levelName(e.level) + QStringLiteral("第 %1 次").arg(e.round) +
           (e.kind == Journal::Entry::Kind::Round ? QStringLiteral("抽奖结果")
                                                  : QStringLiteral("补抽结果"));
}

class Check
{
public:
    Outcome outcome;

    Outcome missing(const QString &what, const QString &path)
    {
        outcome.exitCode = 2;
        outcome.report.append(QStringLiteral("无法读取%1：").arg(what) + path);
        return outcome;
    }
    Outcome failed(const QString &why)
    {
        outcome.exitCode = 1;
        outcome.report.append(kFailed + why);
        return outcome;
    }
    Outcome passed()
    {
        outcome.exitCode = 0;
        outcome.report.append(kPassed);
        return outcome;
    }
    void say(const QString &line) { outcome.report.append(line); }
};

// The first place where the results file leaves the journal's story, or an empty text.
QString compareResults(const QString &path, const QByteArray &actual, const Journal::History &h)
{
    const QByteArray header = Record::headerBytes(*h.start);
    if (Journal::sha256Hex(header) != h.start->headerSha256)
        return QStringLiteral("抽奖记录中的文件开头校验值不符");
    QList<std::pair<qint64, QString>> parts{{0, QStringLiteral("文件开头")}};
    QByteArray expected = header;
    for (qsizetype k = 0; k < h.entries.size(); ++k) {
        const QByteArray block = Record::blockBytes(h.entries[k]);
        if (Journal::sha256Hex(block) != h.entries[k].blockSha256)
            return QStringLiteral("抽奖记录中 %1 的校验值与其内容不符").arg(describe(h.entries[k]));
        parts.append({expected.size(), describe(h.entries[k])});
        expected += block;
    }
    if (actual == expected)
        return QString();
    qint64 at = 0;
    const qint64 common = std::min(actual.size(), expected.size());
    while (at < common && actual[at] == expected[at])
        ++at;
    QString part = parts.first().second;
    for (const auto &[start, what] : parts) {
        if (start <= at)
            part = what;
    }
    const QString where =
        QStringLiteral("中奖名单文件 %1 第 %2 行").arg(name(path)).arg(lineAt(actual, at));
    if (at == expected.size())
        return where + QStringLiteral("起有记录之外的内容");
    if (at == actual.size())
        return where + QStringLiteral("缺少记录中的内容（%1）").arg(part);
    return where + QStringLiteral("与记录不符（%1）").arg(part);
}

QString compareWorkbook(const QString &path, const QByteArray &bytes, const Journal::History &h,
                        const QList<Workbook::Row> &rows)
{
    const QString file = QStringLiteral("中奖名单表格 %1").arg(name(path));
    QString error;
    Workbook::Bounds bounds;
    bounds.rows = rows.size() + 1;
    bounds.columns = 6;
    const std::optional<Workbook::Sheet> sheet = Workbook::readFirstSheet(bytes, &error, bounds);
    if (!sheet)
        return file + QStringLiteral("：") + error;
    if (sheet->name != Workbook::kSheetName)
        return file + QStringLiteral("：工作表名称不是 “%1”").arg(Workbook::kSheetName);
    QList<QStringList> expected{Workbook::headerRow()};
    for (const Workbook::Row &row : rows)
        expected.append(row.cells());
    for (qsizetype r = 0; r < std::max(expected.size(), sheet->rows.size()); ++r) {
        const QString where = file + QStringLiteral(" 第 %1 行").arg(r + 1);
        if (r >= sheet->rows.size())
            return where + QStringLiteral("缺失");
        if (r >= expected.size())
            return where + QStringLiteral("是记录之外的行");
        const QList<Workbook::Cell> &cells = sheet->rows[r];
        for (int c = 0; c < 6; ++c) {
            const Workbook::Cell cell = c < cells.size() ? cells[c] : Workbook::Cell();
            if (cell.text != expected[r][c])
                return where +
                       QStringLiteral("与记录不符：“%1” 应为 “%2”").arg(cell.text, expected[r][c]);
            if (c == 3 && r > 0 && (!cell.isText || cell.isFormula) && !cell.text.isEmpty())
                return where + QStringLiteral("的中奖者不是文字单元格");
        }
        if (cells.size() > 6)
            return where + QStringLiteral("有记录之外的单元格");
    }
    if (h.workbookSha256.isEmpty())
        return file + QStringLiteral("：抽奖记录中没有它的校验值");
    if (Journal::sha256Hex(bytes) != h.workbookSha256)
        return file + QStringLiteral("的 SHA-256 与抽奖记录中最后一次写入的不符");
    return QString();
}

} // namespace

Outcome fingerprint(const QString &rosterPath, PoolBuilder pool)
{
    Check check;
    const auto bytes = readWhole(rosterPath);
    if (!bytes)
        return check.missing(QStringLiteral("名单文件"), rosterPath);
    const Record::Fingerprint print = Record::fingerprintOf(*bytes);
    check.say(QStringLiteral("名单文件：") + QFileInfo(rosterPath).absoluteFilePath());
    check.say(QStringLiteral("大小：%1 字节").arg(print.size));
    check.say(QStringLiteral("SHA-256：") + print.sha256);
    check.say(QStringLiteral("抽奖名单人数：%1").arg(pool(*bytes).size()));
    return check.outcome;
}

QString normalizedHex(const QString &text, int minimum)
{
    QString hex;
    for (const QChar c : text) {
        if (c.isSpace())
            continue;
        const QChar lower = c.toLower();
        if (!((lower >= u'0' && lower <= u'9') || (lower >= u'a' && lower <= u'f')))
            return QString();
        hex += lower;
    }
    return hex.size() >= minimum ? hex : QString();
}

Outcome verifyEvent(const QString &resultsPath, const QString &rosterPath, PoolBuilder pool)
{
    Options options;
    options.rosterPath = rosterPath;
    return verifyEvent(resultsPath, options, pool);
}

Outcome verifyEvent(const QString &resultsPath, const Options &options, PoolBuilder pool)
{
    Check check;
    const auto results = readWhole(resultsPath);
    if (!results)
        return check.missing(QStringLiteral("中奖名单文件"), resultsPath);
    const QString journalPath = Journal::journalPathFor(resultsPath);
    const auto journal = readWhole(journalPath);
    if (!journal)
        return check.missing(QStringLiteral("抽奖记录"), journalPath);
    const QString workbookPath = Workbook::pathFor(resultsPath);
    const auto workbook = readWhole(workbookPath);
    if (!workbook)
        return check.missing(QStringLiteral("中奖名单表格"), workbookPath);

    Journal::History h = Journal::read(*journal);
    if (!h.isSound()) {
        return check.failed(QStringLiteral("抽奖记录 %1 第 %2 行：%3")
                                .arg(name(journalPath))
                                .arg(h.errorLine)
                                .arg(h.error));
    }
    const Journal::EventStart &start = *h.start;
    check.say(QStringLiteral("活动：") + start.company + QStringLiteral(" ") + start.activity);
    check.say(QStringLiteral("中奖名单文件：") + QFileInfo(resultsPath).absoluteFilePath());
    if (start.resultsName != name(resultsPath))
        return check.failed(QStringLiteral("抽奖记录属于另一个中奖名单文件：") + start.resultsName);

    const QString roster = options.rosterPath.isEmpty() ? start.rosterPath : options.rosterPath;
    check.say(QStringLiteral("名单文件：") + roster);
    check.say(QStringLiteral("名单 SHA-256：") + start.rosterSha256);
    check.say(QStringLiteral("抽奖名单人数：%1").arg(start.poolSize));
    if (!options.rosterSha256.isNull()) {
        const QString published = normalizedHex(options.rosterSha256, 64);
        if (published != start.rosterSha256)
            return check.failed(QStringLiteral("名单文件的 SHA-256 与公布的指纹不符：公布的是 ") +
                                options.rosterSha256.trimmed());
        check.say(QStringLiteral("名单 SHA-256 与公布的指纹一致"));
    }
    const auto rosterBytes = readWhole(roster);
    if (!rosterBytes)
        return check.missing(QStringLiteral("名单文件"), roster);
    if (!Record::isRecordedRoster(start, *rosterBytes))
        return check.failed(QStringLiteral("名单文件与抽奖记录不符（大小或 SHA-256 不同）：") +
                            roster);
    const QStringList entries = pool(*rosterBytes);
    if (entries.size() != start.poolSize) {
        return check.failed(QStringLiteral("由名单文件建立的抽奖名单有 %1 人，抽奖记录为 %2 人")
                                .arg(entries.size())
                                .arg(start.poolSize));
    }

    // What a start of the program would make of the files: a last round or redraw whose block
    // never became whole was interrupted and does not count; it is no tampering.
    QStringList interruptions;
    QByteArray counted = *results;
    const Record::Reconciled r = Record::reconcile(h, *results);
    if (r.error.isEmpty() && r.countedEntries < h.entries.size()) {
        interruptions.append(QStringLiteral("中断：") + describe(h.entries.last()) +
                             QStringLiteral("未完成，不算"));
        h.entries.resize(r.countedEntries);
        counted.truncate(r.wholeBytes);
    } else if (h.voided) {
        interruptions.append(QStringLiteral("中断：") + describe(*h.voided) +
                             QStringLiteral("未完成，不算"));
    }
    if (h.voidedCount > (h.voided ? 1 : 0))
        interruptions.append(QStringLiteral("此前另有 %1 次停止因中断未完成，不算")
                                 .arg(h.voidedCount - (h.voided ? 1 : 0)));
    if (h.tornTail)
        interruptions.append(QStringLiteral("中断：抽奖记录的最后一行未写完，不算"));

    if (const auto wrong = Record::firstPoolMismatch(h.entries, entries)) {
        return check.failed(QStringLiteral("%1 的 “%2” 不是抽奖名单第 %3 位的 “%4”")
                                .arg(describe(*wrong->entry), wrong->winner.text)
                                .arg(wrong->winner.index + 1)
                                .arg(entries[wrong->winner.index]));
    }
    int redraws = 0;
    qsizetype absent = 0;
    for (const Journal::Entry &e : h.entries) {
        if (e.kind == Journal::Entry::Kind::Redraw) {
            ++redraws;
            absent += e.absent.size();
        }
    }
    for (int level = 1; level <= 3; ++level) {
        check.say(QStringLiteral("%1：已抽 %2 / %3 轮，每轮 %4 人")
                      .arg(Record::levelName(level))
                      .arg(h.roundsDrawn(level))
                      .arg(start.configuredRounds(level))
                      .arg(start.winnersPerRound(level)));
    }
    check.say(
        QStringLiteral("中奖者：%1 人（都在抽奖名单中，无人重复中奖）").arg(h.winnersCount()));
    check.say(QStringLiteral("补抽：%1 次，未到场 %2 人").arg(redraws).arg(absent));
    check.say(QStringLiteral("记录摘要（最后一条记录的 SHA-256）：") +
              QString::fromLatin1(h.lastHash));
    check.say(QStringLiteral("记录校验码：") + Record::codeOf(h.lastHash));
    for (const QString &line : interruptions)
        check.say(line);

    if (const QString fault = compareResults(resultsPath, counted, h); !fault.isEmpty())
        return check.failed(fault);

    const QList<Workbook::Row> rows = Workbook::rowsFor(h.entries);
    const bool workbookBehind = r.error.isEmpty() && h.workbookRows >= 0 &&
                                h.workbookRows != rows.size() &&
                                Journal::sha256Hex(*workbook) == h.workbookSha256;
    if (workbookBehind) {
        // Killed between the last block and the workbook's rewrite: the next start rewrites it.
        check.say(QStringLiteral("中断：中奖名单表格尚未包含最后一次停止的结果（运行一次抽奖程序"
                                 "即可更新）"));
    } else if (const QString fault = compareWorkbook(workbookPath, *workbook, h, rows);
               !fault.isEmpty()) {
        return check.failed(fault);
    }

    if (!options.code.isNull()) {
        const QString code = normalizedHex(options.code, 16);
        if (code.isEmpty())
            return check.failed(QStringLiteral("记录校验码应为至少 16 位十六进制数字：") +
                                options.code);
        qsizetype at = -1;
        for (qsizetype k = h.hashes.size() - 1; k >= 0 && at < 0; --k) {
            if (h.hashes[k].startsWith(code.toLatin1()))
                at = k;
        }
        if (at < 0)
            return check.failed(QStringLiteral("记录校验码 %1 不是这份抽奖记录的（记录在显示校验码"
                                               "之后被改动或重写）")
                                    .arg(options.code.trimmed()));
        const qsizetype later = h.hashes.size() - 1 - at;
        check.say(later == 0 ? QStringLiteral("记录校验码与最后一条记录一致")
                             : QStringLiteral("记录校验码与第 %1 条记录一致，其后又有 %2 条记录")
                                   .arg(at + 1)
                                   .arg(later));
    }

    if (h.setAside) {
        check.outcome.exitCode = 3;
        check.say(QStringLiteral("这次抽奖已被放弃（重新开始）"));
        return check.outcome;
    }
    if (!h.isFinished()) {
        check.outcome.exitCode = 3;
        check.say(QStringLiteral("这次抽奖尚未完成：已抽 %1 / %2 轮，记录与文件一致")
                      .arg(h.roundsDrawn())
                      .arg(start.configuredRounds(1) + start.configuredRounds(2) +
                           start.configuredRounds(3)));
        return check.outcome;
    }
    if (workbookBehind) {
        check.outcome.exitCode = 3;
        check.say(QStringLiteral("这次抽奖的表格尚未更新：请运行一次抽奖程序后再核验"));
        return check.outcome;
    }
    return check.passed();
}

} // namespace Verify
