#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

// The results file: one per run, in the program directory, GB18030 with CR LF line ends.
namespace Results {

// "中奖名单 ― 2016年1月8日09时.txt" for a load on 8 January 2016 at 09:41.
QString fileName(const QDateTime &when);

// The path for this run: the hour's name, or the first free "… (2).txt", "… (3).txt", … so that
// an earlier run's results are never emptied.
QString freePath(const QString &directory, const QDateTime &when);

// A file beside the results file, of the same name with another extension (".jsonl", ".xlsx").
QString besideResults(const QString &resultsPath, const QString &extension);

// The Chinese locale's short date, a blank and its long time (without a time-zone name), on any
// machine: "2026/12/10 10:24:35".
QString dateTimeText(const QDateTime &when);

struct HeaderFields
{
    QString company;  // stage title line one
    QString activity; // stage title line two
    QString dateTime;
    QString firstPrize, secondPrize, thirdPrize;
};

// The header as one write (the write adds the last CR LF): 14 lines in the file.
QString headerText(const HeaderFields &fields);

// "★★ 三等奖第 1 次抽奖结果：★★" followed by CR LF: with the write's own CR LF, two lines.
QString roundHeading(const QString &marker, const QString &levelName, int round);

// The text without blanks (U+0020) at its start and its end.
QString trimBlanks(const QString &text);
// A round's winners as the file holds them: each pool entry followed by CR LF, with blanks
// removed from the start and the end of the whole text (so only the first winner can lose any).
QString winnersText(const QStringList &poolTexts);
// The winners text split back into one text per winner.
QStringList winnerLines(const QString &winnersText);

// The exact bytes one write adds to the file.
QByteArray headerBytes(const HeaderFields &fields);
// A round's block: heading, empty line, one line per winner, empty line.
QByteArray roundBlockBytes(int level, int round, const QString &winnersText);
// A redraw's block: "★★ 三等奖第 2 次补抽结果：★★", an empty line, "未到场：" and each absent
// winner's text, one line per replacement, an empty line.
QByteArray redrawBlockBytes(int level, int round, const QStringList &absentTexts,
                            const QString &replacementsText);

} // namespace Results

// The open results file. Every write reaches the disk before it returns. The file is opened for
// appending only, so no write can land on bytes another writer put there.
class ResultsFile
{
public:
    // Creates a new file at `path`; false when it cannot be created (or already exists).
    bool create(const QString &path);
    // Opens the closed file again to append to it.
    bool reopenForAppend();
    // Opens an existing file to append to it, first cut back to `length` bytes (what follows is
    // the start of a block a kill tore).
    bool openToContinue(const QString &path, qint64 length);
    // Writes the text followed by CR LF; false when the file is not open or the write failed.
    bool write(const QString &text);
    // Writes the bytes as they are, in one write, synced. A write that fails is cut off again
    // (as far as the disk lets it), so the file ends with its last whole write.
    bool writeBytes(const QByteArray &bytes);
    // Closing a file that is not open does nothing.
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }

private:
    bool openForAppend();

    QFile m_file;
    qint64 m_length = 0; // the bytes of the whole writes
};
