#include <QDir>
#include <QLineEdit>
#include <QTest>

#include "platform/text_codec.h"
#include "support/stage.h"
#include "windows/prize_settings_form.h"

class TestRosterLoad : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadBuildsPoolCountersAndResultsFile();
    void dialogStartsInProgramDirectoryWithVokFilter();
    void cancelledDialogChangesNothing();
    void emptyCountFieldAsksForSettings();
    void allBlankRosterCannotBeUnlocked();
    void unwritableFolderIsReportedAndLoadCanBeRetried();
    void loadingAgainInTheSameHourKeepsTheFirstFile();

private:
    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<Stage> m_stage;
};

void TestRosterLoad::init()
{
    m_dir = std::make_unique<ProgramDir>();
    m_dir->writeSettings(1, 2, 2, 3, 3, 4);
    m_stage = std::make_unique<Stage>(*m_dir);
}

void TestRosterLoad::cleanup()
{
    m_stage.reset();
    m_dir.reset();
}

void TestRosterLoad::loadBuildsPoolCountersAndResultsFile()
{
    const QString roster = m_dir->writeRoster(QStringLiteral("名单.vok"),
                                              {"1001 张三", "", "  ", "1002 李四", "1003|1004"});
    m_stage->confirmAndLoad(roster);
    MainForm &form = m_stage->form();
    QCOMPARE(form.ST, (QStringList{"1001 张三", "1002 李四", "1003", "1004"}));
    QCOMPARE(form.iCount, 3);
    QCOMPARE(m_stage->acceptedLines(), (QStringList{"1001 张三", "1002 李四", "1003|1004"}));
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command7", "Command8", "Command9"}));
    QCOMPARE((QList<int>{form.c1, form.c2, form.c3, form.g1, form.g2, form.g3, form.n1, form.n2,
                         form.n3}),
             (QList<int>{1, 2, 3, 1, 2, 3, 2, 3, 4}));

    QCOMPARE(m_dir->resultsFiles().size(), 1);
    QCOMPARE(form.str2, m_dir->file(m_dir->resultsFiles().first()));
    const QStringList lines =
        TextCodec::splitLines(TextCodec::decode(m_dir->read(m_dir->resultsFiles().first())));
    QCOMPARE(lines.size(), 14);
    QCOMPARE(lines[0], QStringLiteral("测试公司"));
    QCOMPARE(lines[2], QStringLiteral("年会抽奖"));
    QVERIFY(lines[5].startsWith(QStringLiteral("开奖时间：")));
    QCOMPARE(lines[9], QStringLiteral("一等奖： 汽车"));
    QCOMPARE(lines[11], QStringLiteral("三等奖：红包"));
    // The caption still shows the startup roster, not the chosen file.
    QCOMPARE(form.scrollTextLines().first(), QStringLiteral("加载文件加载错误"));
}

void TestRosterLoad::dialogStartsInProgramDirectoryWithVokFilter()
{
    m_stage->confirmSettings();
    m_stage->loadRoster(QString());
    QCOMPARE(m_stage->dialog.requests.size(), 1);
    QCOMPARE(m_stage->dialog.requests.first().startDirectory, m_dir->path() + u'/');
    QCOMPARE(m_stage->dialog.requests.first().filter, QStringLiteral("vok 文件 (*.vok)"));
}

void TestRosterLoad::cancelledDialogChangesNothing()
{
    m_stage->confirmSettings();
    m_stage->loadRoster(QString());
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command1", "Command7", "Command9"}));
    QVERIFY(m_stage->form().ST.isEmpty());
    QVERIFY(m_dir->resultsFiles().isEmpty());
    // A missing file likewise.
    m_stage->loadRoster(m_dir->file(QStringLiteral("gone.vok")));
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command1", "Command7", "Command9"}));
    QVERIFY(m_stage->boxes.texts().size() == 1); // only the settings' success message
}

void TestRosterLoad::emptyCountFieldAsksForSettings()
{
    m_stage->confirmSettings();
    m_stage->form().prizeSettings()->field(4)->setText(QString());
    m_stage->loadRoster(m_dir->writeRoster(QStringLiteral("r.vok"), {"a"}));
    QCOMPARE(m_stage->boxes.texts().last(), QStringLiteral("请先进行奖项设置！"));
    QVERIFY(m_stage->dialog.requests.isEmpty());
    QVERIFY(m_stage->button(QStringLiteral("Command1"))->isEnabled());
}

void TestRosterLoad::allBlankRosterCannotBeUnlocked()
{
    m_stage->confirmSettings();
    m_stage->loadRoster(m_dir->writeRoster(QStringLiteral("blank.vok"), {"", "   ", ""}));
    QCOMPARE(m_stage->form().iCount, -1);
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command7", "Command9"}));
    QCOMPARE(m_dir->resultsFiles().size(), 1);
}

void TestRosterLoad::unwritableFolderIsReportedAndLoadCanBeRetried()
{
    m_stage->confirmSettings();
    // The roster lies elsewhere; the program directory disappears (a pulled drive, a deleted
    // folder), so the results file cannot be created.
    ProgramDir elsewhere;
    const QString roster = elsewhere.writeRoster(QStringLiteral("r.vok"), ProgramDir::people(5));
    const QString programDir = m_dir->path();
    QVERIFY(QDir(programDir).removeRecursively());
    const QStringList enabledBefore = m_stage->enabledButtons();
    m_stage->loadRoster(roster);
    // Nothing is loaded: the stage stands as before the load.
    QVERIFY(m_stage->boxes.texts().last().startsWith(QStringLiteral("中奖名单文件无法写入磁盘：") +
                                                     programDir));
    QVERIFY(m_stage->boxes.texts().last().endsWith(
        QStringLiteral("\n名单没有读取，请检查磁盘后重新读取验证数据。")));
    QVERIFY(m_stage->form().str2.isEmpty());
    QCOMPARE(m_stage->form().iCount, 0);
    QCOMPARE(m_stage->enabledButtons(), enabledBefore);

    QVERIFY(QDir().mkpath(programDir));
    m_stage->loadRoster(roster);
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command7", "Command8", "Command9"}));
    QCOMPARE(m_stage->form().iCount, 4);
    QVERIFY(m_stage->form().resultsFile().isOpen());
}

void TestRosterLoad::loadingAgainInTheSameHourKeepsTheFirstFile()
{
    const QString roster = m_dir->writeRoster(QStringLiteral("r.vok"), ProgramDir::people(5));
    m_stage->confirmAndLoad(roster);
    const QString firstPath = m_stage->form().str2;
    m_stage.reset(); // the program is closed and started again
    const QByteArray firstBytes =
        QFile(firstPath).exists() ? m_dir->read(QFileInfo(firstPath).fileName()) : QByteArray();
    m_stage = std::make_unique<Stage>(*m_dir);
    m_stage->confirmAndLoad(roster);
    const QString secondPath = m_stage->form().str2;
    if (QFileInfo(firstPath).fileName() == QFileInfo(secondPath).fileName())
        QFAIL("the second run reused the first run's results file");
    QVERIFY(secondPath.endsWith(QStringLiteral(" (2).txt")) ||
            !secondPath.contains(QFileInfo(firstPath).completeBaseName()));
    QCOMPARE(m_dir->read(QFileInfo(firstPath).fileName()), firstBytes);
}

QTEST_MAIN(TestRosterLoad)
#include "tst_roster_load.moc"
