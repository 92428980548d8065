#pragma once

// Named points in the writing of an event's record where tests stand in for the world: a disk
// that refuses a write, or a kill at an exact instant. The program itself installs no handler,
// and then every point passes.
namespace FaultPoints {

// Returns true when the write at `point` is to fail (a full disk, a pulled stick).
using Handler = bool (*)(const char *point);
void setHandler(Handler handler);

// Called at each point; true: fail the operation there.
bool hit(const char *point);

} // namespace FaultPoints
