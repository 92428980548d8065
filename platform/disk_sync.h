#pragma once

#include <QtGlobal>

class QFile;
class QString;

// Pushes what was written to a file through to the disk, so a crash or power cut keeps it.
bool syncToDisk(QFile &file);

// Makes a file's creation, rename or removal in `directory` durable: without it a power cut can
// lose the file's name even though its bytes were synced. Windows' NTFS journals names itself.
bool syncDirectory(const QString &directory);

// Cuts an open file back to `length` bytes and syncs the cut.
bool truncateAndSync(QFile &file, qint64 length);
