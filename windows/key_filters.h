#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

// Character filters of the count fields. A typed character arrives as its code: the ASCII code,
// or for a double-byte character of the ANSI code page a negative 16-bit number.
namespace KeyFilters {

int characterCode(QChar c);

// Digits, backspace (8) and the decimal point only.
bool strictKeeps(int code);
// Every code up to 57 ("9"): digits, blank, signs, punctuation, control characters and the
// negative codes of double-byte characters.
bool looseKeeps(int code);

enum class Kind { Strict, Loose };
// Filters what is typed into the field (keys and input-method text); pasting through the
// context menu is not typing and is not filtered.
void install(QLineEdit *field, Kind kind);

} // namespace KeyFilters
