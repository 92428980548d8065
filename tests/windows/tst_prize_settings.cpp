#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include "platform/text_codec.h"
#include "settings/rwini.h"
#include "support/stage.h"
#include "windows/author_credit.h"
#include "windows/prize_settings_form.h"

class TestPrizeSettings : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadingFillsFieldsFromFile();
    void firstUseWithoutFileCreatesEmptyKeys();
    void readingAFieldLoadsWithoutShowing();
    void typedCharactersAreFiltered_data();
    void typedCharactersAreFiltered();
    void okRefusesCountsThatCannotBeDrawn_data();
    void okRefusesCountsThatCannotBeDrawn();
    void okAcceptsUsableCounts();
    void resetThenOkIsRefused();
    void authorCreditWrittenOnEveryOk();
    void closeBoxUnloadsAndNextUseReloadsFromFile();
    void settingsButtonBringsOpenWindowForward();

private:
    PrizeSettingsForm *openSettings();
    QLineEdit *field(int number) { return m_stage->form().prizeSettings()->field(number); }
    QString stored(const QString &section, const QString &key) const;

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<Stage> m_stage;
};

void TestPrizeSettings::init()
{
    m_dir = std::make_unique<ProgramDir>();
    m_dir->writeSettings(1, 2, 2, 3, 3, 4);
    m_stage = std::make_unique<Stage>(*m_dir);
}

void TestPrizeSettings::cleanup()
{
    m_stage.reset();
    m_dir.reset();
}

PrizeSettingsForm *TestPrizeSettings::openSettings()
{
    m_stage->click(QStringLiteral("Command5"));
    return m_stage->form().prizeSettings();
}

QString TestPrizeSettings::stored(const QString &section, const QString &key) const
{
    const QString text = TextCodec::decode(m_dir->read(QStringLiteral("SysInfo.ini")));
    const qsizetype at = text.indexOf(u'[' + section + u']');
    const qsizetype keyAt = text.indexOf(QStringLiteral("\r\n") + key + u'=', at);
    if (at < 0 || keyAt < 0)
        return QStringLiteral("<missing>");
    const qsizetype start = keyAt + 3 + key.size();
    return text.mid(start, text.indexOf(QStringLiteral("\r\n"), start) - start);
}

void TestPrizeSettings::loadingFillsFieldsFromFile()
{
    PrizeSettingsForm *form = openSettings();
    QVERIFY(form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("公司及活动名称、奖项设置"));
    const QStringList expected = {"1",        "2",        "2",    "3",    "3",   "4",
                                  "测试公司", "年会抽奖", "汽车", "电脑", "红包"};
    for (int number = 1; number <= 11; ++number)
        QCOMPARE(form->fieldText(number), expected[number - 1]);
    QCOMPARE(form->fieldText(12), AuthorCredit::alias());
    // The author credit fields lie outside the client area.
    QVERIFY(form->field(12)->mapTo(form, QPoint(0, 0)).x() >= form->width());
}

void TestPrizeSettings::firstUseWithoutFileCreatesEmptyKeys()
{
    m_stage.reset();
    QFile::remove(m_dir->file(QStringLiteral("SysInfo.ini")));
    m_stage = std::make_unique<Stage>(*m_dir);
    PrizeSettingsForm *form = openSettings();
    for (int number = 1; number <= 11; ++number)
        QCOMPARE(form->fieldText(number), QString());
    QCOMPARE(stored(QStringLiteral("三等奖"), QStringLiteral("奖品")), QString());
    QCOMPARE(stored(QStringLiteral("公司名称"), QStringLiteral("活动名称")), QString());
}

void TestPrizeSettings::readingAFieldLoadsWithoutShowing()
{
    PrizeSettingsForm *form = m_stage->form().prizeSettings();
    QCOMPARE(form->fieldText(2), QStringLiteral("2"));
    QVERIFY(!form->isVisible());
}

void TestPrizeSettings::typedCharactersAreFiltered_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");   // pasted with Ctrl+V when not empty
    QTest::addColumn<QString>("composed"); // committed by an input method when not empty
    QTest::addColumn<QString>("result");
    QTest::newRow("strict: digits and point") << 1 << "1.5"
                                              << ""
                                              << ""
                                              << "1.5";
    QTest::newRow("strict: letter") << 1 << "a"
                                    << ""
                                    << ""
                                    << "";
    QTest::newRow("strict: minus sign") << 3 << "-2"
                                        << ""
                                        << ""
                                        << "2";
    QTest::newRow("strict: blank") << 6 << "1 2"
                                   << ""
                                   << ""
                                   << "12";
    QTest::newRow("strict: paste key") << 4 << ""
                                       << "77"
                                       << ""
                                       << "";
    QTest::newRow("strict: double-byte character") << 5 << ""
                                                   << ""
                                                   << "三"
                                                   << "";
    QTest::newRow("loose: letter") << 2 << "x"
                                   << ""
                                   << ""
                                   << "";
    QTest::newRow("loose: minus sign") << 2 << "-2"
                                       << ""
                                       << ""
                                       << "-2";
    QTest::newRow("loose: comma and plus") << 2 << "+1,5"
                                           << ""
                                           << ""
                                           << "+1,5";
    QTest::newRow("loose: paste key") << 2 << ""
                                      << "77"
                                      << ""
                                      << "77";
    QTest::newRow("loose: double-byte character") << 2 << ""
                                                  << ""
                                                  << "三"
                                                  << "三";
    QTest::newRow("titles are not filtered") << 7 << "abc"
                                             << ""
                                             << ""
                                             << "abc";
}

void TestPrizeSettings::typedCharactersAreFiltered()
{
    QFETCH(int, number);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, composed);
    QFETCH(QString, result);
    openSettings();
    QLineEdit *edit = field(number);
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, typed);
    if (!pasted.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    if (!composed.isEmpty()) {
        QInputMethodEvent event;
        event.setCommitString(composed);
        QCoreApplication::sendEvent(edit, &event);
    }
    QCOMPARE(edit->text(), result);
    QTest::keyClick(edit, Qt::Key_Backspace); // backspace always passes
    QCOMPARE(edit->text(), result.chopped(result.isEmpty() ? 0 : 1));
}

void TestPrizeSettings::okRefusesCountsThatCannotBeDrawn_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("count");
    QTest::newRow("zero") << 1 << "0";
    QTest::newRow("empty") << 3 << "";
    QTest::newRow("lone point") << 4 << ".";
    QTest::newRow("negative") << 2 << "-2";
    QTest::newRow("below one half") << 5 << "0.4";
    QTest::newRow("one half rounds to zero") << 6 << "0.5";
    QTest::newRow("beyond 16 bits") << 6 << "40000";
    QTest::newRow("two numbers") << 2 << "1 2";
}

void TestPrizeSettings::okRefusesCountsThatCannotBeDrawn()
{
    QFETCH(int, number);
    QFETCH(QString, count);
    PrizeSettingsForm *form = openSettings();
    field(7)->setText(QStringLiteral("新公司"));
    field(number)->setText(count); // as if pasted through the context menu
    m_stage->click(form, QStringLiteral("ok"));

    QCOMPARE(m_stage->boxes.texts(),
             QStringList{QStringLiteral("系统奖项、信息设置出错！重新设置")});
    QCOMPARE(m_stage->boxes.shown.first().caption, QStringLiteral("Lumora"));
    QVERIFY(form->isVisible());
    QVERIFY(!m_stage->button(QStringLiteral("Command1"))->isEnabled());
    QVERIFY(m_stage->button(QStringLiteral("Command5"))->isEnabled());
    // Saved and shown before the check.
    QCOMPARE(m_stage->text(QStringLiteral("Label4")), QStringLiteral("新公司"));
    QCOMPARE(stored(QStringLiteral("公司名称"), QStringLiteral("公司名称")),
             QStringLiteral("新公司"));
}

void TestPrizeSettings::okAcceptsUsableCounts()
{
    PrizeSettingsForm *form = openSettings();
    field(5)->setText(QStringLiteral(" 1.5 "));
    m_stage->click(form, QStringLiteral("ok"));
    QCOMPARE(m_stage->boxes.texts(),
             QStringList{QStringLiteral("系统奖项、信息设置成功并已保存！")});
    QVERIFY(!form->isVisible());
    QCOMPARE(m_stage->text(QStringLiteral("Label4")), QStringLiteral("测试公司"));
    QCOMPARE(m_stage->text(QStringLiteral("Label9")), QStringLiteral("年会抽奖"));
    QCOMPARE(m_stage->enabledButtons(), (QStringList{"Command1", "Command7", "Command9"}));
    QCOMPARE(stored(QStringLiteral("三等奖"), QStringLiteral("次数")),
             QStringLiteral(" 1.5 ")); // as typed
    QCOMPARE(form->counts()[4], 1.5);
    // The hidden window keeps the confirmed configuration.
    QCOMPARE(m_stage->form().prizeSettings(), form);
    QCOMPARE(form->fieldText(5), QStringLiteral(" 1.5 "));
}

void TestPrizeSettings::resetThenOkIsRefused()
{
    PrizeSettingsForm *form = openSettings();
    m_stage->click(form, QStringLiteral("reset"));
    for (int number = 1; number <= 6; ++number)
        QCOMPARE(form->fieldText(number), QString());
    QCOMPARE(form->fieldText(9), QStringLiteral("汽车"));
    m_stage->click(form, QStringLiteral("ok"));
    QCOMPARE(m_stage->boxes.texts(),
             QStringList{QStringLiteral("系统奖项、信息设置出错！重新设置")});
    QCOMPARE(stored(QStringLiteral("一等奖"), QStringLiteral("次数")), QString());
    QCOMPARE(stored(QStringLiteral("三等奖"), QStringLiteral("人数")), QString());
    QCOMPARE(m_stage->text(QStringLiteral("Label4")), QStringLiteral("测试公司"));
    QVERIFY(!m_stage->button(QStringLiteral("Command1"))->isEnabled());

    // Corrected and confirmed again: the success message once, the roster load unlocked.
    for (int number = 1; number <= 6; ++number)
        field(number)->setText(QStringLiteral("1"));
    m_stage->click(form, QStringLiteral("ok"));
    QCOMPARE(m_stage->boxes.texts().count(QStringLiteral("系统奖项、信息设置成功并已保存！")), 1);
    QVERIFY(m_stage->button(QStringLiteral("Command1"))->isEnabled());
    QVERIFY(!m_stage->button(QStringLiteral("Command5"))->isEnabled());
}

void TestPrizeSettings::authorCreditWrittenOnEveryOk()
{
    WriteIni(QStringLiteral("作者信息"), QStringLiteral("昵称"), QStringLiteral("别人"));
    PrizeSettingsForm *form = openSettings();
    field(1)->setText(QStringLiteral("0"));
    m_stage->click(form, QStringLiteral("ok")); // refused, but saved
    QCOMPARE(stored(QStringLiteral("作者信息"), QStringLiteral("昵称")), AuthorCredit::alias());
    QCOMPARE(stored(QStringLiteral("作者信息"), QStringLiteral("QQ")), AuthorCredit::qq());
    QCOMPARE(stored(QStringLiteral("作者信息"), QStringLiteral("微信")), AuthorCredit::weChat());
}

void TestPrizeSettings::closeBoxUnloadsAndNextUseReloadsFromFile()
{
    QPointer<PrizeSettingsForm> form = openSettings();
    field(7)->setText(QStringLiteral("未保存"));
    form->close();
    QTRY_VERIFY(form.isNull());
    WriteIni(QStringLiteral("公司名称"), QStringLiteral("公司名称"), QStringLiteral("改过的"));
    PrizeSettingsForm *again = openSettings();
    QCOMPARE(again->fieldText(7), QStringLiteral("改过的"));
}

void TestPrizeSettings::settingsButtonBringsOpenWindowForward()
{
    PrizeSettingsForm *form = openSettings();
    m_stage->child<QWidget>(QStringLiteral("Label6"))->setVisible(true);
    m_stage->click(QStringLiteral("Command5"));
    QCOMPARE(m_stage->form().prizeSettings(), form);
    QVERIFY(form->isVisible());
    QVERIFY(!m_stage->shown(QStringLiteral("Label6")));
    const auto windows = QApplication::topLevelWidgets();
    QCOMPARE(
        std::count_if(windows.begin(), windows.end(),
                      [](QWidget *w) { return w->objectName() == QStringLiteral("奖项设置"); }),
        1);
}

QTEST_MAIN(TestPrizeSettings)
#include "tst_prize_settings.moc"
