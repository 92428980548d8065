#include "platform/single_instance.h"

#include <QDir>

SingleInstance::SingleInstance(const QString &directory)
    : m_lock(std::make_unique<QLockFile>(QDir(directory).filePath(lockFileName())))
{
    // Held for the whole run: never stale by age while this process lives. A lock whose
    // process is gone (a kill, a power cut) is stale whatever its age, and tryLock takes it.
    m_lock->setStaleLockTime(0);
    m_anotherRunning = !m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError;
}
