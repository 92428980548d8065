#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The checks of lumora-verify: an event's results file, journal and workbook against each other
// and against the roster, for a notary or an auditor.
namespace Verify {

struct Outcome
{
    // 0 passed, 1 failed, 2 a file missing or unreadable, 3 the files agree but the event is
    // not finished or was set aside
    int exitCode = 0;
    QStringList report; // the lines to print, Chinese; the last one is the verdict
};

// The pool the program builds from a roster file's bytes.
using PoolBuilder = QStringList (*)(const QByteArray &rosterBytes);

struct Options
{
    QString rosterPath;   // empty: the roster at its recorded path
    QString code;         // the record's code noted when it was shown on stage, if any
    QString rosterSha256; // the roster's fingerprint published before the event, if any
};

Outcome verifyEvent(const QString &resultsPath, const Options &options, PoolBuilder pool);
// `rosterPath` empty: the roster at its recorded path.
Outcome verifyEvent(const QString &resultsPath, const QString &rosterPath, PoolBuilder pool);

// A noted code or fingerprint as hex digits: blanks dropped, lower case; empty when it is not
// at least `minimum` hex digits.
QString normalizedHex(const QString &text, int minimum);

// The roster's SHA-256 and pool size, to publish before the meeting.
Outcome fingerprint(const QString &rosterPath, PoolBuilder pool);

} // namespace Verify
