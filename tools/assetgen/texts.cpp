#include <QFile>
#include <QStringEncoder>
#include <QStringList>

#include "assetgen.h"

namespace {

void writeGb18030(const QString &path, const QStringList &lines)
{
    QStringEncoder encoder("GB18030");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

} // namespace

void makeTexts(const QString &installDir)
{
    writeGb18030(installDir + QStringLiteral("/SysInfo.ini"),
                 {QStringLiteral("[公司名称]"),
                  QStringLiteral("公司名称=星辰科技有限公司"),
                  QStringLiteral("活动名称=2026年度表彰大会抽奖现场"),
                  QString(),
                  QStringLiteral("[一等奖]"),
                  QStringLiteral("次数=1"),
                  QStringLiteral("人数=2"),
                  QStringLiteral("奖品=笔记本电脑 一台"),
                  QString(),
                  QStringLiteral("[二等奖]"),
                  QStringLiteral("次数=2"),
                  QStringLiteral("人数=3"),
                  QStringLiteral("奖品=平板电脑 一台"),
                  QString(),
                  QStringLiteral("[三等奖]"),
                  QStringLiteral("次数=3"),
                  QStringLiteral("人数=4"),
                  QStringLiteral("奖品=购物卡 500 元"),
                  QString(),
                  QStringLiteral("[作者信息]"),
                  QStringLiteral("昵称=星河工作室 XH"),
                  QStringLiteral("QQ=800123456"),
                  QStringLiteral("微信=lumora_xh"),
                  QString(),
                  QStringLiteral("[密码]"),
                  QStringLiteral("vok=52718364")});

    // Invented people: common surnames with given names, each with a staff number.
    const QString surnames = QStringLiteral("王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许");
    const QStringList given = {
        QStringLiteral("伟"),   QStringLiteral("芳"),   QStringLiteral("娜"),
        QStringLiteral("秀英"), QStringLiteral("敏"),   QStringLiteral("静"),
        QStringLiteral("丽"),   QStringLiteral("强"),   QStringLiteral("磊"),
        QStringLiteral("军"),   QStringLiteral("洋"),   QStringLiteral("勇"),
        QStringLiteral("艳"),   QStringLiteral("杰"),   QStringLiteral("娟"),
        QStringLiteral("涛"),   QStringLiteral("明"),   QStringLiteral("超"),
        QStringLiteral("秀兰"), QStringLiteral("霞"),   QStringLiteral("平"),
        QStringLiteral("刚"),   QStringLiteral("桂英"), QStringLiteral("晓东"),
        QStringLiteral("雨涵"), QStringLiteral("子轩"), QStringLiteral("思远"),
        QStringLiteral("欣怡"), QStringLiteral("浩然"), QStringLiteral("嘉怡")};
    QStringList roster;
    for (int k = 0; k < 200; ++k) {
        const QChar surname = surnames[(k * 7) % surnames.size()];
        const QString name = surname + given[(k * 11 + k / 30) % given.size()];
        roster.append(QStringLiteral("LM%1 %2").arg(k + 1, 4, 10, QLatin1Char('0')).arg(name));
    }
    writeGb18030(installDir + QStringLiteral("/参与抽奖名单.vok"), roster);
}
