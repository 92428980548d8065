#pragma once

#include <QString>

// The settings file SysInfo.ini in the program directory. Every operation forms the path anew,
// so a hand edit between two calls is seen by the next one. Nothing is ever reported: a file or
// folder that cannot be read or written gives the default and leaves the file as it was.

QString GetIniPath();

// The stored value, cut to at most 143 bytes in the ANSI code page (never inside a character).
// A missing or empty value gives the default and writes the key back with the default.
QString ReadIni(const QString &section, const QString &key, const QString &defaultValue);

void WriteIni(const QString &section, const QString &key, const QString &value);

// The longest head of `value` whose ANSI form fits in `maxBytes` without splitting a character.
QString cutToAnsiBytes(const QString &value, int maxBytes);

// A value on one line: each line break (CR LF, CR, LF, U+2028, U+2029) becomes one blank, so a
// value pasted with line breaks never puts a stray line into the settings file.
QString oneLine(const QString &value);
