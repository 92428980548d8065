#include "platform/disk_sync.h"

#include <QFile>
#include <QString>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

bool syncToDisk(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool syncDirectory(const QString &directory)
{
#ifdef Q_OS_WIN
    Q_UNUSED(directory);
    return true;
#else
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
#endif
}

bool truncateAndSync(QFile &file, qint64 length)
{
    if (!file.flush())
        return false;
    if (file.size() != length && !file.resize(length))
        return false;
    return syncToDisk(file);
}
