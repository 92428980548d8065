#pragma once

class QFile;

// Pushes what was written to a file through to the disk, so a crash or power cut keeps it.
bool syncToDisk(QFile &file);
