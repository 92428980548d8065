#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "record/event_journal.h"

// The workbook for Excel beside the results file: one sheet "中奖名单", a row per winner line of
// the results file, the winner always a text cell.
namespace Workbook {

inline const QString kSheetName = QStringLiteral("中奖名单");
QStringList headerRow(); // 奖项 轮次 序号 中奖者 说明 时间

struct Row
{
    QString level; // "三等奖"
    int round = 0;
    int number = 0; // within the round, its redraws included
    QString winner; // exactly as the results file holds it
    QString note;   // "", "补抽" or "未到场"
    QString time;   // the stop's local time, "2026/12/10 10:24:35"
    bool operator==(const Row &) const = default;
    QStringList cells() const;
};

// The rows of the recorded rounds and redraws, in the order of the results file.
QList<Row> rowsFor(const QList<Journal::Entry> &entries);

// "中奖名单 ― ….xlsx" for "中奖名单 ― ….txt".
QString pathFor(const QString &resultsPath);

// The workbook's bytes; nullopt when it could not be made (`scratchDirectory` holds the
// library's temporary file).
std::optional<QByteArray> build(const QList<Row> &rows, const QString &scratchDirectory);

// Replaces the file at `path` by `bytes` in one step: readers see the old file or the new one,
// whole, never a part.
bool replaceFile(const QString &path, const QByteArray &bytes);

} // namespace Workbook
