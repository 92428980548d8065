#pragma once

#include <QString>
#include <optional>

#include "record/event_record.h"

// What a start of the program finds in its folder, after it has brought every event's record up
// to date: the event to offer for continuing, or the newest event when it cannot be continued.
namespace Record {

struct StartupSurvey
{
    std::optional<UnfinishedEvent> offer;
    // The newest event of the folder when its files disagree: its results file's name and why.
    QString brokenName;
    QString brokenReason;
};

// For every sound journal of the folder: a last round or redraw whose block never became whole
// is voided by a record and its torn bytes are cut; a torn last record is cut; a workbook that
// does not match the counted records is rewritten. Scratch files of a killed workbook rewrite are
// removed. Then the newest unfinished event that was not set aside is the offer; a finished event
// whose last stop, a redraw, never reached the results file is offered too, so that the redraw
// can be made again. Only one program may run on the folder while this writes (the lock).
StartupSurvey surveyFolder(const QString &directory);

// Files a killed workbook rewrite left behind.
void removeScratchFiles(const QString &directory);

} // namespace Record
