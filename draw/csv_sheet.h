#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A roster sheet saved as CSV, as HR's Excel writes it: UTF-8 (with or without BOM) or GB18030,
// separated by commas, semicolons or tabs, fields quoted as RFC 4180 says (a quote inside a
// quoted field is doubled; a quoted field may hold separators and line breaks).
namespace CsvSheet {

// The separator of a sheet: of comma, semicolon and tab, the one found most often outside quotes
// in its first line (comma when none is).
QChar separatorOf(const QString &text);

// Every row with at least one non-blank field, in order; fields keep their text (blanks too).
// Nullopt with `error` set when a quoted field never ends.
std::optional<QList<QStringList>> read(const QByteArray &bytes, QString *error = nullptr);

} // namespace CsvSheet
