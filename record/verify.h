#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The checks of lumora-verify: an event's results file, journal and workbook against each other
// and against the roster, for a notary or an auditor.
namespace Verify {

struct Outcome
{
    int exitCode = 0;   // 0 passed, 1 failed, 2 a file missing or unreadable
    QStringList report; // the lines to print, Chinese; the last one is the verdict
};

// The pool the program builds from a roster file's bytes.
using PoolBuilder = QStringList (*)(const QByteArray &rosterBytes);

// `rosterPath` empty: the roster at its recorded path.
Outcome verifyEvent(const QString &resultsPath, const QString &rosterPath, PoolBuilder pool);

// The roster's SHA-256 and pool size, to publish before the meeting.
Outcome fingerprint(const QString &rosterPath, PoolBuilder pool);

} // namespace Verify
