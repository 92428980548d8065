#include <QDir>
#include <QFile>
#include <QTest>

#include "platform/text_codec.h"
#include "settings/ini_document.h"
#include "settings/rwini.h"
#include "support/program_dir.h"

class TestRwIni : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_dir = std::make_unique<ProgramDir>(); }
    void cleanup() { m_dir.reset(); }

    void pathIsSysInfoInProgramDirectory();
    void firstReadsCreateEmptyKeysInGb18030();
    void readsCutAt143Bytes_data();
    void readsCutAt143Bytes();
    void handEditBetweenCallsIsSeen();
    void writeKeepsEveryOtherLineByteForByte();
    void namesMatchWithoutCaseAndBlanks();
    void emptyValueReadsDefaultAndIsWrittenBack();
    void readOnlyFileIsLeftUntouched();
    void settingsPathThatIsAFolderGivesDefaults();
    void utf8FileStaysUtf8();
    void writeLeavesNoTemporaryFiles();
    void markInsideUtf8LineIsACharacter();

private:
    QByteArray settingsBytes() const { return m_dir->read(QStringLiteral("SysInfo.ini")); }
    std::unique_ptr<ProgramDir> m_dir;
};

void TestRwIni::pathIsSysInfoInProgramDirectory()
{
    QCOMPARE(GetIniPath(), m_dir->path() + QStringLiteral("/SysInfo.ini"));
}

void TestRwIni::firstReadsCreateEmptyKeysInGb18030()
{
    const char16_t *keys[][2] = {
        {u"公司名称", u"公司名称"}, {u"公司名称", u"活动名称"}, {u"一等奖", u"次数"},
        {u"一等奖", u"人数"},       {u"一等奖", u"奖品"},       {u"二等奖", u"次数"},
        {u"二等奖", u"人数"},       {u"二等奖", u"奖品"},       {u"三等奖", u"次数"},
        {u"三等奖", u"人数"},       {u"三等奖", u"奖品"}};
    for (const auto &k : keys)
        QCOMPARE(ReadIni(QString::fromUtf16(k[0]), QString::fromUtf16(k[1]), QString()), QString());
    const QByteArray expected = ProgramDir::gb18030Lines(
        {QStringLiteral("[公司名称]"), QStringLiteral("公司名称="), QStringLiteral("活动名称="),
         QStringLiteral("[一等奖]"), QStringLiteral("次数="), QStringLiteral("人数="),
         QStringLiteral("奖品="), QStringLiteral("[二等奖]"), QStringLiteral("次数="),
         QStringLiteral("人数="), QStringLiteral("奖品="), QStringLiteral("[三等奖]"),
         QStringLiteral("次数="), QStringLiteral("人数="), QStringLiteral("奖品=")});
    QCOMPARE(settingsBytes(), expected);
}

void TestRwIni::readsCutAt143Bytes_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("read");
    const QString a143(143, u'a');
    QTest::newRow("143 bytes whole") << a143 << a143;
    QTest::newRow("150 bytes cut") << QString(150, u'b') << QString(143, u'b');
    QTest::newRow("double-byte character across the cut")
        << QString(142, u'c') + QStringLiteral("中文") << QString(142, u'c');
    QTest::newRow("71 double-byte characters survive")
        << QString(80, QChar(0x4E2D)) << QString(71, QChar(0x4E2D));
    QTest::newRow("four-byte character across the cut")
        << QString(141, u'd') + QStringLiteral("𠀀") << QString(141, u'd');
}

void TestRwIni::readsCutAt143Bytes()
{
    if (!TextCodec::hasFourByteGb18030() &&
        QByteArray(QTest::currentDataTag()).contains("four-byte"))
        QSKIP("no GB18030 code page here (Wine): four-byte characters cannot be converted");
    QFETCH(QString, stored);
    QFETCH(QString, read);
    WriteIni(QStringLiteral("一等奖"), QStringLiteral("奖品"), stored);
    QCOMPARE(ReadIni(QStringLiteral("一等奖"), QStringLiteral("奖品"), QString()), read);
    // The file itself keeps the whole value.
    QVERIFY(settingsBytes().contains(TextCodec::toAnsi(stored)));
}

void TestRwIni::handEditBetweenCallsIsSeen()
{
    WriteIni(QStringLiteral("密码"), QStringLiteral("vok"), QStringLiteral("111"));
    QCOMPARE(ReadIni(QStringLiteral("密码"), QStringLiteral("vok"), QString()),
             QStringLiteral("111"));
    m_dir->write(QStringLiteral("SysInfo.ini"),
                 ProgramDir::gb18030Lines({QStringLiteral("[密码]"), QStringLiteral("vok=222")}));
    QCOMPARE(ReadIni(QStringLiteral("密码"), QStringLiteral("vok"), QString()),
             QStringLiteral("222"));
}

void TestRwIni::writeKeepsEveryOtherLineByteForByte()
{
    // Comments, an unknown section, odd spacing, an LF-only line end, bytes that are no text.
    const QByteArray before =
        TextCodec::toAnsi(
            QStringLiteral("; 注释\r\n[其他]\r\n未知 = 值\r\n[一等奖]\r\n次数 = 1\n人数=2\r\n"
                           "# another comment\r\n\r\n[二等奖]\r\n")) +
        QByteArray("raw=\xFF\xFE\x01\r\n");
    m_dir->write(QStringLiteral("SysInfo.ini"), before);
    WriteIni(QStringLiteral("一等奖"), QStringLiteral("次数"), QStringLiteral("3"));
    QByteArray expected = before;
    expected.replace(TextCodec::toAnsi(QStringLiteral("次数 = 1\n")),
                     TextCodec::toAnsi(QStringLiteral("次数=3\n")));
    QCOMPARE(settingsBytes(), expected);

    // A new key goes to the end of its section, a new section to the end of the file.
    WriteIni(QStringLiteral("一等奖"), QStringLiteral("奖品"), QStringLiteral("车"));
    WriteIni(QStringLiteral("密码"), QStringLiteral("vok"), QStringLiteral("9"));
    const QString text = TextCodec::decode(settingsBytes());
    QVERIFY(text.contains(QStringLiteral("人数=2\r\n奖品=车\r\n# another comment")));
    QVERIFY(text.endsWith(QStringLiteral("[密码]\r\nvok=9\r\n")));
    QVERIFY(settingsBytes().contains(QByteArray("raw=\xFF\xFE\x01\r\n")));
}

void TestRwIni::namesMatchWithoutCaseAndBlanks()
{
    m_dir->write(QStringLiteral("SysInfo.ini"),
                 ProgramDir::gb18030Lines(
                     {QStringLiteral("[ 作者信息 ]"), QStringLiteral("qq  =  12345  ")}));
    QCOMPARE(ReadIni(QStringLiteral("作者信息"), QStringLiteral("QQ"), QString()),
             QStringLiteral("12345"));
    WriteIni(QStringLiteral("作者信息"), QStringLiteral("QQ"), QStringLiteral("678"));
    QCOMPARE(TextCodec::decode(settingsBytes()), QStringLiteral("[ 作者信息 ]\r\nQQ=678\r\n"));
}

void TestRwIni::emptyValueReadsDefaultAndIsWrittenBack()
{
    m_dir->write(QStringLiteral("SysInfo.ini"),
                 ProgramDir::gb18030Lines({QStringLiteral("[一等奖]"), QStringLiteral("次数 =")}));
    QCOMPARE(ReadIni(QStringLiteral("一等奖"), QStringLiteral("次数"), QString()), QString());
    QCOMPARE(TextCodec::decode(settingsBytes()), QStringLiteral("[一等奖]\r\n次数=\r\n"));
    QCOMPARE(ReadIni(QStringLiteral("一等奖"), QStringLiteral("人数"), QStringLiteral("5")),
             QStringLiteral("5"));
    QCOMPARE(TextCodec::decode(settingsBytes()), QStringLiteral("[一等奖]\r\n次数=\r\n人数=5\r\n"));
}

void TestRwIni::readOnlyFileIsLeftUntouched()
{
    const QByteArray before =
        ProgramDir::gb18030Lines({QStringLiteral("[密码]"), QStringLiteral("vok=abc")});
    m_dir->write(QStringLiteral("SysInfo.ini"), before);
    QFile::setPermissions(GetIniPath(), QFileDevice::ReadOwner | QFileDevice::ReadUser);
    QCOMPARE(ReadIni(QStringLiteral("密码"), QStringLiteral("vok"), QString()),
             QStringLiteral("abc"));
    QCOMPARE(ReadIni(QStringLiteral("一等奖"), QStringLiteral("次数"), QStringLiteral("d")),
             QStringLiteral("d"));
    WriteIni(QStringLiteral("密码"), QStringLiteral("vok"), QStringLiteral("changed"));
    QCOMPARE(settingsBytes(), before);
}

void TestRwIni::settingsPathThatIsAFolderGivesDefaults()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("SysInfo.ini")));
    QCOMPARE(ReadIni(QStringLiteral("密码"), QStringLiteral("vok"), QString()), QString());
    WriteIni(QStringLiteral("密码"), QStringLiteral("vok"), QStringLiteral("x"));
    QVERIFY(QFileInfo(GetIniPath()).isDir());
}

void TestRwIni::utf8FileStaysUtf8()
{
    const QString text = QStringLiteral("[公司名称]\r\n公司名称=甲公司\r\n");
    m_dir->write(QStringLiteral("SysInfo.ini"), text.toUtf8());
    QCOMPARE(ReadIni(QStringLiteral("公司名称"), QStringLiteral("公司名称"), QString()),
             QStringLiteral("甲公司"));
    WriteIni(QStringLiteral("公司名称"), QStringLiteral("活动名称"), QStringLiteral("年会"));
    QCOMPARE(settingsBytes(), (text + QStringLiteral("活动名称=年会\r\n")).toUtf8());
}

void TestRwIni::writeLeavesNoTemporaryFiles()
{
    for (int k = 0; k < 5; ++k)
        WriteIni(QStringLiteral("一等奖"), QStringLiteral("次数"), QString::number(k));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
             QStringList{QStringLiteral("SysInfo.ini")});
}

void TestRwIni::markInsideUtf8LineIsACharacter()
{
    // Found by fuzzing: a U+FEFF at the start of a line of a UTF-8 file belongs to the line.
    IniDocument document(QStringLiteral("[a]\n中=1\n").toUtf8());
    const QString key = QStringLiteral("\uFEFFx");
    document.setValue(QStringLiteral("a"), key, QStringLiteral("v"));
    QCOMPARE(document.value(QStringLiteral("a"), key), std::optional<QString>(QStringLiteral("v")));
    QVERIFY(!document.value(QStringLiteral("a"), QStringLiteral("x")).has_value());
}

QTEST_GUILESS_MAIN(TestRwIni)
#include "tst_rwini.moc"
