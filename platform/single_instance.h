#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// One program per program directory: two programs writing one event's files would lose
// announced winners and could let someone win twice. The lock is a file in the directory that
// Qt recognises as stale when its process was killed or the power was cut.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &directory);
    // True while another program holds the directory. A directory where no lock can be made
    // (read-only, say) holds no other program's event either: the run goes on and reports what
    // it cannot write when it comes to it.
    bool anotherIsRunning() const { return m_anotherRunning; }

    static QString lockFileName() { return QStringLiteral("lumora.lock"); }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_anotherRunning = false;
};
