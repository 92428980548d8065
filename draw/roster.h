#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Roster {

// What the caption scrolls when a file cannot be read.
QStringList loadFailureLines();

// Reads a text file into `lines`, one element per line, unchanged. A file that cannot be read
// leaves exactly the seven failure lines; a file with no lines leaves `lines` as it was.
void loadFileLines(const QString &path, QStringList &lines);

// A line made only of spaces (U+0020), the empty line included.
bool isBlank(const QString &line);

// The separator that splits one roster line into several pool entries.
inline constexpr char16_t kSeparator = u'|';

struct Pool
{
    QStringList entries;  // the draw's pool, in file order
    QStringList accepted; // the accepted lines, unsplit
};

// Skips blank lines and splits each accepted line at the separator into pool entries.
Pool buildPool(const QStringList &lines);
// The pool of a roster file's bytes, decoded as every text file is.
Pool buildPool(const QByteArray &rosterBytes);
// The pool entries alone, as the verifier rebuilds them.
QStringList poolEntries(const QByteArray &rosterBytes);

} // namespace Roster
