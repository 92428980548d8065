#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <xlsxwriter.h>

#include "platform/text_codec.h"
#include "record/event_record.h"
#include "record/workbook.h"
#include "record/workbook_reader.h"

using Journal::Winner;

// The workbook for Excel: written by the record, read back as a spreadsheet would.
class TestWorkbook : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void hardTextsStayText_data();
    void hardTextsStayText();
    void rowsFollowTheResultsFile();
    void continuedEventExtendsTheWorkbook();
    void garbageIsRefusedWithAReason_data();
    void garbageIsRefusedWithAReason();
    void farCellsAreRefusedAsTheyAreMet_data();
    void farCellsAreRefusedAsTheyAreMet();

private:
    static Journal::EventStart eventStart();
    static QStringList pool(); // "P0" … "P29"
    std::optional<Workbook::Sheet> readBack(const QString &path) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestWorkbook::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

Journal::EventStart TestWorkbook::eventStart()
{
    Journal::EventStart s;
    s.company = QStringLiteral("公司");
    s.activity = QStringLiteral("年会");
    s.loadTime = QStringLiteral("2026-12-10T10:00:00");
    s.headerTime = QStringLiteral("2026/12/10 10:00:00");
    s.counters = {1, 1, 2, 1, 1, 2, 1, 1, 3};
    s.rosterPath = QStringLiteral("/nowhere/r.vok");
    s.rosterSha256 = QString(64, u'a');
    s.poolSize = 30;
    return s;
}

QStringList TestWorkbook::pool()
{
    QStringList list;
    for (int k = 0; k < 30; ++k)
        list.append(QStringLiteral("P%1").arg(k));
    return list;
}

std::optional<Workbook::Sheet> TestWorkbook::readBack(const QString &path) const
{
    const auto bytes = TextCodec::readFile(path);
    if (!bytes)
        return std::nullopt;
    QString error;
    auto sheet = Workbook::readFirstSheet(*bytes, &error);
    if (!sheet)
        qWarning() << error;
    return sheet;
}

void TestWorkbook::hardTextsStayText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("phone number") << "13800138000";
    QTest::newRow("identity number") << "11010119900101123X";
    QTest::newRow("18 digits") << "110101199001011234";
    QTest::newRow("leading zeros") << "000123";
    QTest::newRow("formula") << "=1+1";
    QTest::newRow("plus") << "+86 139 0000 0000";
    QTest::newRow("minus") << "-5";
    QTest::newRow("at") << "@SUM(A1)";
    QTest::newRow("markup") << "<b>张三</b> & 李四";
    QTest::newRow("control character") << QString::fromUtf16(u"甲\u0001乙\t丙");
    QTest::newRow("looks escaped") << "_x0041_";
    QTest::newRow("long") << QString(5000, u'名');
}

void TestWorkbook::hardTextsStayText()
{
    QFETCH(QString, text);
    Journal::Entry round;
    round.level = 3;
    round.round = 1;
    round.time = QStringLiteral("2026-12-10T10:24:35");
    round.winners = {Winner{QStringLiteral("P1"), 1}, Winner{text, 2}};
    const auto bytes = Workbook::build(Workbook::rowsFor({round}), m_dir->path());
    QVERIFY(bytes);
    QString error;
    const auto sheet = Workbook::readFirstSheet(*bytes, &error);
    QVERIFY2(sheet, qPrintable(error));
    QCOMPARE(sheet->name, QStringLiteral("中奖名单"));
    QCOMPARE(sheet->rows.size(), 3);
    const Workbook::Cell cell = sheet->rows[2][3];
    QCOMPARE(cell.text, text);
    QVERIFY(cell.isText);
    QVERIFY(!cell.isFormula);
    QCOMPARE(sheet->rows[2][5].text, QStringLiteral("2026/12/10 10:24:35"));
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty()); // no scratch file left
}

void TestWorkbook::rowsFollowTheResultsFile()
{
    const QString results = m_dir->filePath(QStringLiteral("中奖名单 ― a.txt"));
    Record::EventRecord record;
    QVERIFY(record.start(results, eventStart()));
    const auto empty = readBack(Workbook::pathFor(results));
    QVERIFY(empty);
    QCOMPARE(empty->rows.size(), 1); // the header only, from the load on

    QVERIFY(record.recordRound(3, 1, {Winner{"  P0", 0}, Winner{"P1", 1}, Winner{"P2", 2}}));
    QVERIFY(record.recordRedraw(3, 1, {Winner{"P1", 1}}, {Winner{"P7", 7}}));
    QVERIFY(record.recordRedraw(3, 1, {Winner{"P7", 7}}, {Winner{"P8", 8}}));
    record.close();

    const auto sheet = readBack(Workbook::pathFor(results));
    QVERIFY(sheet);
    QList<QStringList> rows;
    for (const QList<Workbook::Cell> &row : sheet->rows) {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells.append(c < row.size() ? row[c].text : QString());
        rows.append(cells);
    }
    QCOMPARE(rows, (QList<QStringList>{
                       {"奖项", "轮次", "序号", "中奖者", "说明"},
                       {"三等奖", "1", "1", "P0", ""}, // as the file holds it: blanks trimmed
                       // An absent winner's own row says so; no row is added for them.
                       {"三等奖", "1", "2", "P1", "未到场"},
                       {"三等奖", "1", "3", "P2", ""},
                       {"三等奖", "1", "4", "P7", "补抽，未到场"},
                       {"三等奖", "1", "5", "P8", "补抽"},
                   }));
    const Journal::History h =
        Journal::read(*TextCodec::readFile(Journal::journalPathFor(results)));
    QCOMPARE(h.workbookRows, 5);
    QCOMPARE(h.workbookSha256,
             Journal::sha256Hex(*TextCodec::readFile(Workbook::pathFor(results))));
}

void TestWorkbook::continuedEventExtendsTheWorkbook()
{
    const QString results = m_dir->filePath(QStringLiteral("中奖名单 ― a.txt"));
    {
        Record::EventRecord record;
        QVERIFY(record.start(results, eventStart()));
        QVERIFY(record.recordRound(3, 1, {Winner{"P0", 0}, Winner{"P1", 1}, Winner{"P2", 2}}));
    }
    // Killed after the next round's block, before the workbook caught up.
    const QByteArray stale = *TextCodec::readFile(Workbook::pathFor(results));
    {
        Record::EventRecord record;
        const auto event = Record::findUnfinished(m_dir->path());
        QVERIFY(event);
        QVERIFY(record.continueEvent(*event, pool()));
        QVERIFY(record.recordRound(3, 2, {Winner{"P3", 3}, Winner{"P4", 4}, Winner{"P5", 5}}));
    }
    QFile file(Workbook::pathFor(results));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(stale);
    file.close();

    Record::EventRecord record;
    const auto event = Record::findUnfinished(m_dir->path());
    QVERIFY(event);
    QVERIFY(record.continueEvent(*event, pool()));
    const auto sheet = readBack(Workbook::pathFor(results));
    QVERIFY(sheet);
    QCOMPARE(sheet->rows.size(), 1 + 6);
    QCOMPARE(sheet->rows[6][3].text, QStringLiteral("P5"));
    QCOMPARE(sheet->rows[6][1].text, QStringLiteral("2"));
}

void TestWorkbook::garbageIsRefusedWithAReason_data()
{
    QTest::addColumn<int>("damage");
    QTest::newRow("empty") << 0;
    QTest::newRow("cut in half") << 1;
    QTest::newRow("not a zip") << 2;
    QTest::newRow("a byte flipped inside") << 3;
    QTest::newRow("a sheet claiming 400 MB") << 4;
}

void TestWorkbook::garbageIsRefusedWithAReason()
{
    QFETCH(int, damage);
    Journal::Entry round;
    round.level = 1;
    round.round = 1;
    round.winners = {Winner{QStringLiteral("P1"), 1}};
    QByteArray bytes = *Workbook::build(Workbook::rowsFor({round}), m_dir->path());
    if (damage == 0)
        bytes.clear();
    if (damage == 1)
        bytes.truncate(bytes.size() / 2);
    if (damage == 2)
        bytes = QByteArrayLiteral("PK\x03\x04 this is not a workbook");
    if (damage == 3)
        bytes[bytes.size() / 3] = char(bytes[bytes.size() / 3] ^ 0x5a);
    if (damage == 4) {
        // The central directory's uncompressed size of the sheet, which a reader would allocate.
        const qsizetype entry = bytes.indexOf(QByteArrayLiteral("PK\x01\x02"));
        const qsizetype sheetName = bytes.indexOf("xl/worksheets/sheet1.xml", entry);
        QVERIFY(entry >= 0 && sheetName > 0);
        const qsizetype header = bytes.lastIndexOf(QByteArrayLiteral("PK\x01\x02"), sheetName);
        const quint32 claimed = 400u * 1024 * 1024;
        for (int k = 0; k < 4; ++k)
            bytes[header + 24 + k] = char((claimed >> (8 * k)) & 0xff);
    }
    QString error;
    const auto sheet = Workbook::readFirstSheet(bytes, &error);
    if (damage == 3 && sheet) {
        // A flip in a stored name or padding can leave a readable sheet: then it must still
        // be ours to compare, which the verifier does row by row.
        QVERIFY(!sheet->rows.isEmpty());
        return;
    }
    QVERIFY(!sheet);
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestWorkbook)
void TestWorkbook::farCellsAreRefusedAsTheyAreMet_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("a far column") << 1 << 16000;
    QTest::newRow("a far row") << 1000000 << 1;
}

void TestWorkbook::farCellsAreRefusedAsTheyAreMet()
{
    QFETCH(int, row);
    QFETCH(int, column);
    // A small workbook that, read without bounds, would make a million rows or 16,000 cells.
    const QString path = m_dir->filePath(QStringLiteral("far.xlsx"));
    lxw_workbook *book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet *sheet = workbook_add_worksheet(book, "中奖名单");
    worksheet_write_string(sheet, 0, 0, "奖项", nullptr);
    worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column), "x", nullptr);
    QCOMPARE(workbook_close(book), LXW_NO_ERROR);
    const QByteArray bytes = *TextCodec::readFile(path);
    QVERIFY(Workbook::readFirstSheet(bytes, nullptr)); // a valid workbook as such

    Workbook::Bounds bounds;
    bounds.rows = 20;
    bounds.columns = 6;
    QString error;
    QVERIFY(!Workbook::readFirstSheet(bytes, &error, bounds));
    QVERIFY(!error.isEmpty());
}

#include "tst_workbook.moc"
