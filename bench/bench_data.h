#pragma once

#include <QString>
#include <QStringList>

namespace BenchData {

// "P0000001 张伟明" …: `count` invented people, all names of one length.
QStringList people(int count);
// Writes them as a roster file (GB18030 or UTF-8, CR LF) and returns its path; files are made
// once per size and encoding, in a folder that lives as long as the process.
QString rosterFile(int count, bool utf8);
QString scratchFolder();

} // namespace BenchData
