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
    // False while another program holds the directory.
    bool acquired() const { return m_acquired; }

    static QString lockFileName() { return QStringLiteral("lumora.lock"); }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};
