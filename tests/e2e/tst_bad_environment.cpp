#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>
#include <unistd.h>

#include "draw/random_pick.h"
#include "e2e/results_reader.h"
#include "platform/picture_box.h"
#include "platform/text_codec.h"
#include "settings/rwini.h"
#include "support/stage.h"
#include "windows/prize_settings_form.h"

// The stage keeps running whatever it finds in its folder, says what the operator must mend,
// and loses nothing.
class TestBadEnvironment : public QObject
{
    Q_OBJECT
private slots:
    void init() { RandomSource::shared().setFixedSeed(5); }
    void cleanup() { RandomSource::shared().clearFixedSeed(); }

    void garbageSettingsFile();
    void binaryRosterFile();
    void rosterWithA10MegabyteLine();
    void roster200Megabytes();
    void readOnlyProgramDirectory();
    void missingFontsStillDraw();

private:
    static QByteArray randomBytes(int size, quint32 seed);
};

QByteArray TestBadEnvironment::randomBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

void TestBadEnvironment::garbageSettingsFile()
{
    ProgramDir dir;
    const QByteArray garbage = randomBytes(4096, 1);
    dir.write(QStringLiteral("SysInfo.ini"), garbage);
    dir.writeRoster(QStringLiteral("参与抽奖名单.vok"), ProgramDir::people(20));
    Stage stage(dir);
    PrizeSettingsForm *settings = stage.form().prizeSettings();
    for (int field = 1; field <= 6; ++field)
        settings->field(field)->setText(QStringLiteral("1"));
    stage.click(QStringLiteral("Command5"));
    stage.click(settings, QStringLiteral("ok"));
    QVERIFY(stage.button(QStringLiteral("Command1"))->isEnabled());
    // The garbage stays; the settings were added to it and read back.
    const QByteArray after = dir.read(QStringLiteral("SysInfo.ini"));
    QVERIFY(after.startsWith(garbage.left(64)));
    QCOMPARE(ReadIni(QStringLiteral("三等奖"), QStringLiteral("人数"), QString()),
             QStringLiteral("1"));
    stage.loadRoster(dir.file(QStringLiteral("参与抽奖名单.vok")));
    QCOMPARE(stage.form().iCount, 19);
}

void TestBadEnvironment::binaryRosterFile()
{
    ProgramDir dir;
    dir.writeSettings(1, 1, 1, 1, 1, 1);
    QByteArray binary = randomBytes(64 * 1024, 2);
    dir.write(QStringLiteral("参与抽奖名单.vok"), binary);
    Stage stage(dir);
    QVERIFY(!stage.form().scrollTextLines().isEmpty());
    for (int k = 0; k < 50; ++k)
        stage.form().timScrollText_Timer();
    stage.prepare(dir.file(QStringLiteral("参与抽奖名单.vok")));
    QVERIFY(stage.form().iCount > 2);
    stage.drawRound(3);
    stage.drawRound(2);
    stage.drawRound(1);
    const ResultsRead read = readResults(dir.read(dir.resultsFiles().first()));
    QCOMPARE(read.header.size(), 14);
    QVERIFY(read.blocks.size() >= 1); // a name made of line-break-free garbage may even be empty
}

void TestBadEnvironment::rosterWithA10MegabyteLine()
{
    ProgramDir dir;
    dir.writeSettings(1, 1, 1, 1, 1, 3);
    const QString longLine = QString(10 * 1024 * 1024, u'长');
    QStringList lines = ProgramDir::people(4);
    lines.insert(2, longLine);
    dir.writeRoster(QStringLiteral("参与抽奖名单.vok"), lines);
    Stage stage(dir);
    // The long line scrolls by like any other.
    for (int k = 0; k < 200; ++k)
        stage.form().timScrollText_Timer();
    stage.prepare(dir.file(QStringLiteral("参与抽奖名单.vok")));
    QCOMPARE(stage.form().iCount, 4);

    std::uint64_t seed = 1; // one whose round draws the long line
    for (;; ++seed) {
        RandomSource probe;
        probe.setFixedSeed(seed);
        std::int32_t counter = 0;
        const auto picks = pickDistinct(0, 4, 3, probe, counter);
        if (std::find(picks.begin() + 1, picks.end(), 2) != picks.end())
            break;
    }
    RandomSource::shared().setFixedSeed(seed);
    const QStringList winners = stage.drawRound(3);
    QCOMPARE(winners.size(), 3);
    QVERIFY(winners.contains(longLine));
    QVERIFY(!stage.form().ST.contains(longLine));
    // On disk whole.
    const QStringList recorded =
        TextCodec::splitLines(TextCodec::decode(dir.read(dir.resultsFiles().first())));
    for (const QString &w : winners)
        QVERIFY(recorded.contains(w.trimmed()));
}

void TestBadEnvironment::roster200Megabytes()
{
    ProgramDir dir;
    dir.writeSettings(1, 1, 1, 1, 1, 3);
    // 1,000,000 lines of about 200 bytes each.
    QByteArray line = TextCodec::toAnsi(QString(90, u'名')) + "12345678901234567";
    QByteArray bytes;
    bytes.reserve(200 * 1024 * 1024);
    for (int k = 0; bytes.size() < 200 * 1024 * 1024; ++k)
        bytes += QByteArray::number(k) + line + "\r\n";
    dir.write(QStringLiteral("参与抽奖名单.vok"), bytes);
    const qsizetype lines = bytes.count('\n');
    bytes.clear();
    Stage stage(dir);
    QCOMPARE(stage.form().scrollTextLines().size(), lines);
    stage.prepare(dir.file(QStringLiteral("参与抽奖名单.vok")));
    QCOMPARE(stage.form().iCount, qint32(lines - 1));
    QCOMPARE(stage.drawRound(3).size(), 3);
    QCOMPARE(stage.form().iCount, qint32(lines - 4));
}

void TestBadEnvironment::readOnlyProgramDirectory()
{
    if (geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        QSKIP("needs root and setpriv to run the program as an unprivileged user");
    const QStringList asNobody = {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                  QStringLiteral("--clear-groups")};
    if (QProcess::execute(QStringLiteral("setpriv"),
                          asNobody + QStringList{QStringLiteral("test"), QStringLiteral("-x"),
                                                 QStringLiteral(LUMORA_EVENT_DRIVER)}) != 0)
        QSKIP("the unprivileged user cannot reach the program in this checkout");
    ProgramDir dir;
    dir.writeSettings(1, 1, 1, 1, 3, 3);
    const QString roster = dir.writeRoster(QStringLiteral("r.vok"), ProgramDir::people(30));
    const QByteArray settingsBefore = dir.read(QStringLiteral("SysInfo.ini"));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                          QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                          QFileDevice::ReadOther | QFileDevice::ExeOther);
    QProcess driver;
    driver.start(QStringLiteral("setpriv"),
                 asNobody + QStringList{QStringLiteral(LUMORA_EVENT_DRIVER),
                                        QStringLiteral("event"), dir.path(), roster});
    QVERIFY(driver.waitForFinished(120000));
    const QString out = QString::fromUtf8(driver.readAllStandardOutput());
    QVERIFY2(out.contains(QStringLiteral("MESSAGE 中奖名单文件无法写入磁盘：") + dir.path()),
             qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("NO RESULTS FILE, LOAD AGAIN")), qPrintable(out));
    QVERIFY2(driver.exitCode() == 3, driver.readAllStandardError().right(3000).constData());
    QVERIFY(dir.resultsFiles().isEmpty());
    QCOMPARE(dir.read(QStringLiteral("SysInfo.ini")), settingsBefore);
}

void TestBadEnvironment::missingFontsStillDraw()
{
    PictureBox back(QStringLiteral("back")), work(QStringLiteral("work")),
        show(QStringLiteral("show"));
    for (PictureBox *box : {&back, &work, &show})
        box->resize(200, 100);
    QFont font;
    font.setFamilies({QStringLiteral("No Such Face"), QStringLiteral("Nor This One")});
    font.setPointSizeF(21.75);
    work.setFont(font);
    work.setCurrentY(10);
    work.setForeColor(Qt::white);
    work.print(QStringLiteral("张三 ABC"));
    QVERIFY(work.textHeight(QStringLiteral("A")) > 0);
    bool inked = false;
    for (int y = 0; y < 100 && !inked; ++y)
        for (int x = 0; x < 200 && !inked; ++x)
            inked = QColor(work.image().pixel(x, y)) == QColor(Qt::white);
    QVERIFY(inked);
}

QTEST_MAIN(TestBadEnvironment)
#include "tst_bad_environment.moc"
