#pragma once

#include <QString>

// The directory that holds the executable: every file the program reads or writes lies there.
namespace ProgramDirectory {

// As the platform reports it: no trailing separator except at the root.
QString path();

// `path()` followed by exactly one separator.
QString withSeparator(const QString &directory);

// Tests run the program in a directory of their own.
void setForTesting(const QString &directory);

} // namespace ProgramDirectory
