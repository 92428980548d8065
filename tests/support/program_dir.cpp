#include "support/program_dir.h"

#include <QDir>
#include <QFile>

#include "platform/program_directory.h"
#include "platform/text_codec.h"

ProgramDir::ProgramDir()
{
    ProgramDirectory::setForTesting(m_dir.path());
}

ProgramDir::~ProgramDir()
{
    // The folder may have been made read-only by a test.
    QFile::setPermissions(m_dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QByteArray ProgramDir::gb18030Lines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return TextCodec::toAnsi(text);
}

void ProgramDir::write(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray ProgramDir::read(const QString &name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ProgramDir::writeSettings(int rounds1, int winners1, int rounds2, int winners2, int rounds3,
                               int winners3, const QString &password) const
{
    write(QStringLiteral("SysInfo.ini"),
          gb18030Lines({QStringLiteral("[公司名称]"), QStringLiteral("公司名称=测试公司"),
                        QStringLiteral("活动名称=年会抽奖"), QStringLiteral("[一等奖]"),
                        QStringLiteral("次数=%1").arg(rounds1),
                        QStringLiteral("人数=%1").arg(winners1), QStringLiteral("奖品=汽车"),
                        QStringLiteral("[二等奖]"), QStringLiteral("次数=%1").arg(rounds2),
                        QStringLiteral("人数=%1").arg(winners2), QStringLiteral("奖品=电脑"),
                        QStringLiteral("[三等奖]"), QStringLiteral("次数=%1").arg(rounds3),
                        QStringLiteral("人数=%1").arg(winners3), QStringLiteral("奖品=红包"),
                        QStringLiteral("[密码]"), QStringLiteral("vok=") + password}));
}

QString ProgramDir::writeRoster(const QString &name, const QStringList &lines) const
{
    write(name, gb18030Lines(lines));
    return file(name);
}

QStringList ProgramDir::people(int count)
{
    QStringList list;
    for (int k = 1; k <= count; ++k)
        list.append(QStringLiteral("P%1 名字%2").arg(k, 4, 10, QLatin1Char('0')).arg(k));
    return list;
}

QStringList ProgramDir::resultsFiles() const
{
    return QDir(path()).entryList({QStringLiteral("中奖名单*.txt")}, QDir::Files, QDir::Name);
}
