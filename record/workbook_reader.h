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

// Nullopt with `error` set when the bytes are no readable workbook.
std::optional<Sheet> readFirstSheet(const QByteArray &xlsx, QString *error);

} // namespace Workbook
