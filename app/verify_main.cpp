// lumora-verify: checks an event's record for a notary or an auditor.
//   lumora-verify [--code HEX] [--roster-sha256 HEX] <results file> [roster file]
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
    Verify::Options options;
    QStringList files;
    bool understood = true;
    for (qsizetype k = 0; k < args.size() && understood; ++k) {
        const QString &arg = args[k];
        if ((arg == QStringLiteral("--code") || arg == QStringLiteral("--roster-sha256")) &&
            k + 1 < args.size()) {
            (arg == QStringLiteral("--code") ? options.code : options.rosterSha256) = args[++k];
        } else if (arg.startsWith(QStringLiteral("--"))) {
            understood = false;
        } else {
            files.append(arg);
        }
    }
    if (understood && (files.size() == 1 || files.size() == 2)) {
        options.rosterPath = files.value(1);
        return print(Verify::verifyEvent(files[0], options, Roster::poolEntries));
    }
    return print(
        {2,
         {QStringLiteral("用法：lumora-verify [--code 记录校验码] [--roster-sha256 名单指纹] "
                         "<中奖名单文件> [名单文件]"),
          QStringLiteral("      lumora-verify --fingerprint <名单文件>")}});
}
