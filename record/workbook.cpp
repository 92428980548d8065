#include "record/workbook.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <xlsxwriter.h>

#include "platform/disk_sync.h"
#include "record/level_names.h"
#include "record/results_file.h"

namespace Workbook {

namespace {

// Excel's column width counts characters of the default font; a CJK character takes two.
double displayWidth(const QString &text)
{
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x2E80 ? 2.0 : 1.0;
    return width;
}

QString stopTime(const QString &iso)
{
    const QDateTime when = QDateTime::fromString(iso, Qt::ISODate);
    return when.isValid() ? when.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) : iso;
}

} // namespace

QStringList headerRow()
{
    return {QStringLiteral("奖项"),   QStringLiteral("轮次"), QStringLiteral("序号"),
            QStringLiteral("中奖者"), QStringLiteral("说明"), QStringLiteral("时间")};
}

QStringList Row::cells() const
{
    return {level, QString::number(round), QString::number(number), winner, note, time};
}

QList<Row> rowsFor(const QList<Journal::Entry> &entries)
{
    QList<Row> rows;
    QHash<int, int> numbered; // rows so far per level and round
    // The row of each winner of a round, by pool position, so a redraw marks the absent ones.
    QHash<int, QHash<qint64, qsizetype>> rowOf;
    for (const Journal::Entry &e : entries) {
        const int key = e.level * 100000 + e.round;
        int &number = numbered[key];
        QHash<qint64, qsizetype> &rowsOfRound = rowOf[key];
        const QString level = Record::levelName(e.level);
        const QString time = stopTime(e.time);
        const bool redraw = e.kind == Journal::Entry::Kind::Redraw;
        for (const Journal::Winner &w : e.absent) {
            if (const auto at = rowsOfRound.constFind(w.index); at != rowsOfRound.cend())
                rows[*at].note = rows[*at].note.isEmpty()
                                     ? QStringLiteral("未到场")
                                     : rows[*at].note + QStringLiteral("，未到场");
        }
        qsizetype k = 0;
        auto add = [&](const QString &winner, const QString &note) {
            if (k < e.winners.size())
                rowsOfRound.insert(e.winners[k++].index, rows.size());
            rows.append(Row{level, e.round, ++number, winner, note, time});
        };
        // The results file's lines: only the block's first winner can lose leading blanks.
        for (const QString &line :
             Results::winnerLines(Results::winnersText(Journal::textsOf(e.winners))))
            add(line, redraw ? QStringLiteral("补抽") : QString());
    }
    return rows;
}

QString pathFor(const QString &resultsPath)
{
    return Results::besideResults(resultsPath, QStringLiteral(".xlsx"));
}

std::optional<QByteArray> build(const QList<Row> &rows, const QString &scratchDirectory)
{
    // The library writes to a file name of its own; a scratch file reserves a unique one.
    QTemporaryFile scratch(QDir(scratchDirectory).filePath(QStringLiteral("lumora-XXXXXX.xlsx")));
    if (!scratch.open())
        return std::nullopt;
    scratch.close();
    const QByteArray name = QFile::encodeName(scratch.fileName());

    lxw_workbook *book = workbook_new(name.constData());
    if (!book)
        return std::nullopt;
    lxw_worksheet *sheet = workbook_add_worksheet(book, kSheetName.toUtf8().constData());
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    // The text format keeps an edited winner cell text in Excel too.
    lxw_format *text = workbook_add_format(book);
    format_set_num_format(text, "@");

    const QStringList header = headerRow();
    std::array<double, 6> widths{};
    bool written = sheet != nullptr;
    for (int col = 0; written && col < header.size(); ++col) {
        written = worksheet_write_string(sheet, 0, lxw_col_t(col), header[col].toUtf8().constData(),
                                         bold) == LXW_NO_ERROR;
        widths[size_t(col)] = displayWidth(header[col]);
    }
    for (qsizetype r = 0; written && r < rows.size(); ++r) {
        const Row &row = rows[r];
        const lxw_row_t at = lxw_row_t(r + 1);
        const QStringList cells = row.cells();
        for (int col = 0; col < cells.size(); ++col)
            widths[size_t(col)] = std::max(widths[size_t(col)], displayWidth(cells[col]));
        written = worksheet_write_string(sheet, at, 0, row.level.toUtf8().constData(), nullptr) ==
                      LXW_NO_ERROR &&
                  worksheet_write_number(sheet, at, 1, row.round, nullptr) == LXW_NO_ERROR &&
                  worksheet_write_number(sheet, at, 2, row.number, nullptr) == LXW_NO_ERROR &&
                  worksheet_write_string(sheet, at, 3, row.winner.toUtf8().constData(), text) ==
                      LXW_NO_ERROR &&
                  (row.note.isEmpty() ||
                   worksheet_write_string(sheet, at, 4, row.note.toUtf8().constData(), nullptr) ==
                       LXW_NO_ERROR) &&
                  worksheet_write_string(sheet, at, 5, row.time.toUtf8().constData(), nullptr) ==
                      LXW_NO_ERROR;
    }
    if (written) {
        worksheet_freeze_panes(sheet, 1, 0);
        for (int col = 0; col < 6; ++col)
            worksheet_set_column(sheet, lxw_col_t(col), lxw_col_t(col),
                                 std::min(widths[size_t(col)] + 2, 100.0),
                                 col == 3 ? text : nullptr);
    }
    // Closing writes the file; it also frees the workbook when a write above failed.
    const bool closed = workbook_close(book) == LXW_NO_ERROR;
    if (!written || !closed)
        return std::nullopt;
    QFile file(scratch.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    // The new name must survive a power cut as well as the bytes.
    return file.commit() && syncDirectory(QFileInfo(path).absolutePath());
}

} // namespace Workbook
