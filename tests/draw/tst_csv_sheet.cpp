#include <QTest>

#include "draw/csv_sheet.h"
#include "platform/text_codec.h"

using Rows = QList<QStringList>;

class TestCsvSheet : public QObject
{
    Q_OBJECT
private slots:
    void readsRowsAsExcelWritesThem_data();
    void readsRowsAsExcelWritesThem();
    void unfinishedQuoteIsRefused();
};

void TestCsvSheet::readsRowsAsExcelWritesThem_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Rows>("rows");
    const QString header = QStringLiteral("工号,姓名,部门");
    const Rows people{{"工号", "姓名", "部门"}, {"1001", "张三", "财务部"}};
    QTest::newRow("utf-8, CR LF") << QString(header + "\r\n1001,张三,财务部\r\n").toUtf8()
                                  << people;
    QTest::newRow("utf-8 with BOM, no final line end")
        << QByteArray("\xEF\xBB\xBF" + QString(header + "\n1001,张三,财务部").toUtf8()) << people;
    QTest::newRow("gb18030 (Excel's 'CSV' on a Chinese desktop)")
        << TextCodec::toAnsi(header + "\r\n1001,张三,财务部\r\n") << people;
    QTest::newRow("semicolons") << QStringLiteral("工号;姓名;部门\r\n1001;张三;财务部\r\n").toUtf8()
                                << people;
    QTest::newRow("tabs") << QStringLiteral("工号\t姓名\t部门\r\n1001\t张三\t财务部\r\n").toUtf8()
                          << people;
    QTest::newRow("quotes: separators, doubled quotes and a line break inside")
        << QStringLiteral("工号,姓名,备注\r\n1002,\"李, 四\",\"说\"\"好\"\"\r\n第二行\"\r\n")
               .toUtf8()
        << Rows{{"工号", "姓名", "备注"}, {"1002", "李, 四", "说\"好\"\r\n第二行"}};
    QTest::newRow("numbers stay as written") << QByteArray("ID,Phone\r\n007,13800138000\r\n")
                                             << Rows{{"ID", "Phone"}, {"007", "13800138000"}};
    QTest::newRow("blank rows skipped, blanks in a field kept")
        << QStringLiteral("工号,姓名\r\n\r\n,\r\n 1003 , 王五 \r\n").toUtf8()
        << Rows{{"工号", "姓名"}, {" 1003 ", " 王五 "}};
    QTest::newRow("a comma in the first line's quotes does not choose the separator")
        << QStringLiteral("\"a,b,c\";x\r\n1;2\r\n").toUtf8() << Rows{{"a,b,c", "x"}, {"1", "2"}};
    QTest::newRow("empty") << QByteArray() << Rows{};
}

void TestCsvSheet::readsRowsAsExcelWritesThem()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Rows, rows);
    QString error;
    const auto read = CsvSheet::read(bytes, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(*read, rows);
}

void TestCsvSheet::unfinishedQuoteIsRefused()
{
    QString error;
    QVERIFY(!CsvSheet::read(QByteArray("a,b\r\n1,\"never\r\nends\r\n"), &error));
    QCOMPARE(error, QStringLiteral("表格第 2 行的引号没有结束"));
}

QTEST_GUILESS_MAIN(TestCsvSheet)
#include "tst_csv_sheet.moc"
