#include "record/results_file.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "platform/disk_sync.h"
#include "platform/fault_points.h"
#include "platform/text_codec.h"
#include "record/level_names.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

namespace Results {

QString fileName(const QDateTime &when)
{
    const QDate d = when.date();
    return QStringLiteral("中奖名单 ― %1年%2月%3日%4时.txt")
        .arg(d.year())
        .arg(d.month())
        .arg(d.day())
        .arg(when.time().hour(), 2, 10, QLatin1Char('0'));
}

QString freePath(const QString &directory, const QDateTime &when)
{
    const QDir dir(directory);
    const QString name = fileName(when);
    QString candidate = dir.filePath(name);
    const QString stem = name.chopped(4); // without ".txt"
    // A journal or workbook left of the same name belongs to another event: the name is taken.
    auto taken = [](const QString &path) {
        return QFileInfo::exists(path) ||
               QFileInfo::exists(besideResults(path, QStringLiteral(".jsonl"))) ||
               QFileInfo::exists(besideResults(path, QStringLiteral(".xlsx")));
    };
    for (int copy = 2; taken(candidate); ++copy)
        candidate = dir.filePath(QStringLiteral("%1 (%2).txt").arg(stem).arg(copy));
    return candidate;
}

QString besideResults(const QString &resultsPath, const QString &extension)
{
    QString path = resultsPath;
    if (path.endsWith(QStringLiteral(".txt")))
        path.chop(4);
    return path + extension;
}

QString dateTimeText(const QDateTime &when)
{
    // The Chinese desktop's form on every machine, as the operators read it.
    const QLocale locale(QLocale::Chinese, QLocale::China);
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    // The long time without its time-zone name.
    timeFormat.remove(QLatin1Char('t')).replace(QStringLiteral("  "), QStringLiteral(" "));
    return locale.toString(when.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(when.time(), timeFormat.trimmed());
}

QString headerText(const HeaderFields &f)
{
    return f.company + kCrLf + kCrLf + f.activity + kCrLf + kCrLf +
           QStringLiteral("幸运属于您！您是幸运星！") + kCrLf + QStringLiteral("开奖时间：") +
           f.dateTime + kCrLf + QStringLiteral("请以下获奖人员，及时领取奖品！") + kCrLf + kCrLf +
           QStringLiteral("现场特设奖品如下：") + kCrLf + QStringLiteral("一等奖： ") +
           f.firstPrize + kCrLf + QStringLiteral("二等奖： ") + f.secondPrize + kCrLf +
           QStringLiteral("三等奖：") + f.thirdPrize + kCrLf + kCrLf;
}

QString roundHeading(const QString &marker, const QString &levelName, int round)
{
    return marker + u' ' + levelName + QStringLiteral("第 ") + QString::number(round) +
           QStringLiteral(" 次抽奖结果：") + marker + kCrLf;
}

QString winnersText(const QStringList &poolTexts)
{
    QString text;
    for (const QString &entry : poolTexts)
        text += entry + kCrLf;
    return trimBlanks(text);
}

QString trimBlanks(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

QStringList winnerLines(const QString &winnersText)
{
    QStringList pieces = winnersText.split(kCrLf);
    pieces.removeLast(); // the empty text after the final line break
    return pieces;
}

QByteArray headerBytes(const HeaderFields &fields)
{
    return TextCodec::toAnsi(headerText(fields) + kCrLf);
}

QByteArray roundBlockBytes(int level, int round, const QString &winnersText)
{
    const QString heading =
        roundHeading(Record::levelMarker(level), Record::levelName(level), round);
    return TextCodec::toAnsi(heading + kCrLf + winnersText + kCrLf);
}

QByteArray redrawBlockBytes(int level, int round, const QStringList &absentTexts,
                            const QString &replacementsText)
{
    const QString marker = Record::levelMarker(level);
    QString text = marker + u' ' + Record::levelName(level) + QStringLiteral("第 ") +
                   QString::number(round) + QStringLiteral(" 次补抽结果：") + marker + kCrLf +
                   kCrLf;
    for (const QString &absent : absentTexts)
        text += QStringLiteral("未到场：") + absent + kCrLf;
    return TextCodec::toAnsi(text + replacementsText + kCrLf);
}

} // namespace Results

bool ResultsFile::create(const QString &path)
{
    close();
    m_file.setFileName(path);
    m_length = 0;
    // NewOnly: an existing file is never emptied.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::NewOnly))
        return false;
    syncDirectory(QFileInfo(path).absolutePath());
    return true;
}

bool ResultsFile::openForAppend()
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    m_length = m_file.size();
    return true;
}

bool ResultsFile::reopenForAppend()
{
    if (m_file.isOpen())
        return true;
    if (m_file.fileName().isEmpty())
        return false;
    return openForAppend();
}

bool ResultsFile::openToContinue(const QString &path, qint64 length)
{
    close();
    m_file.setFileName(path);
    if (!openForAppend())
        return false;
    if (m_length != length) {
        if (!truncateAndSync(m_file, length)) {
            m_file.close();
            return false;
        }
        m_length = length;
    }
    return true;
}

bool ResultsFile::write(const QString &text)
{
    return writeBytes(TextCodec::toAnsi(text + kCrLf));
}

bool ResultsFile::writeBytes(const QByteArray &bytes)
{
    if (!m_file.isOpen())
        return false;
    // A failed write before may have left a part behind: cut it first.
    if (m_file.size() != m_length && !truncateAndSync(m_file, m_length))
        return false;
    if (!FaultPoints::hit("results-write") && m_file.write(bytes) == bytes.size() &&
        syncToDisk(m_file)) {
        m_length += bytes.size();
        return true;
    }
    truncateAndSync(m_file, m_length);
    return false;
}

void ResultsFile::close()
{
    if (m_file.isOpen())
        m_file.close();
}
