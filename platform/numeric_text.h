#pragma once

#include <QString>
#include <optional>

// The two numeric-text rules of the program.
namespace NumericText {

// The leading-number rule: blanks, tabs and line feeds anywhere are skipped; an optional sign,
// digits with at most one decimal point and an optional exponent are read up to the first
// character that cannot continue the number. No leading number gives 0.
double leadingNumber(const QString &text);

// The 16-bit conversion: surrounding blanks are ignored, a fraction rounds half to even; a text
// that is not one number, or whose rounded value lies outside -32768..32767, gives no value.
std::optional<qint16> toInt16(const QString &text);

// Round to the nearest integer, ties to even.
double roundHalfEven(double value);

} // namespace NumericText
