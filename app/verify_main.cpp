// lumora-verify: checks an event's record for a notary or an auditor.
//   lumora-verify <results file> [roster file]
//   lumora-verify --fingerprint <roster file>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "draw/roster.h"
#include "record/verify.h"

namespace {

int print(const Verify::Outcome &outcome)
{
    for (const QString &line : outcome.report) {
        const QByteArray bytes = line.toUtf8() + '\n';
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    }
    std::fflush(stdout);
    return outcome.exitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 2 && args[0] == QStringLiteral("--fingerprint"))
        return print(Verify::fingerprint(args[1], Roster::poolEntries));
    if ((args.size() == 1 || args.size() == 2) && !args[0].startsWith(QStringLiteral("--")))
        return print(Verify::verifyEvent(args[0], args.value(1), Roster::poolEntries));
    return print({2,
                  {QStringLiteral("用法：lumora-verify <中奖名单文件> [名单文件]"),
                   QStringLiteral("      lumora-verify --fingerprint <名单文件>")}});
}
