#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Reads the first sheet of a workbook back, as the verifier and the tests need it: each row's
// cells as text, and whether a cell was stored as text (never a number or a formula).
namespace Workbook {

struct Cell
{
    QString text;
    bool isText = false;
    bool isFormula = false;
};

struct Sheet
{
    QString name;
    QList<QList<Cell>> rows; // rows in order; missing cells are empty
};

// How much of a sheet a reader accepts: a cell or row beyond is refused as it is met, so that no
// workbook can make the reader allocate far more than its own size.
struct Bounds
{
    qint64 rows = 1048576; // Excel's own limits
    int columns = 16384;
};

// Nullopt with `error` set when the bytes are no readable workbook.
std::optional<Sheet> readFirstSheet(const QByteArray &xlsx, QString *error,
                                    const Bounds &bounds = Bounds());

} // namespace Workbook
