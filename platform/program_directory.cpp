#include "platform/program_directory.h"

#include <QCoreApplication>
#include <QDir>

namespace ProgramDirectory {

namespace {
QString &testDirectory()
{
    static QString directory;
    return directory;
}
} // namespace

QString path()
{
    const QString &forced = testDirectory();
    return forced.isEmpty() ? QCoreApplication::applicationDirPath() : forced;
}

QString withSeparator(const QString &directory)
{
    return directory.endsWith(u'/') ? directory : directory + u'/';
}

void setForTesting(const QString &directory)
{
    testDirectory() = QDir::cleanPath(directory);
}

} // namespace ProgramDirectory
