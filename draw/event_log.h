#pragma once

#include <QStringList>

#include "record/event_journal.h"

// The operator's log (List1): the lines a stop adds for a round or a redraw.
namespace EventLog {

QStringList linesOf(const Journal::Entry &entry);

} // namespace EventLog
