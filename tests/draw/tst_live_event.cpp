#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "draw/random_pick.h"
#include "draw/roster.h"
#include "platform/fault_points.h"
#include "platform/file_dialog.h"
#include "platform/interval_timer.h"
#include "platform/message_box.h"
#include "platform/picture_box.h"
#include "platform/pointer_hider.h"
#include "platform/text_codec.h"
#include "platform/translations.h"
#include "record/verify.h"
#include "support/stage.h"
#include "windows/prize_settings_form.h"
#include "windows/redraw_form.h"

// What the operator and the audience meet at a live event, through the real windows.
class TestLiveEvent : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void messageBoxesSpeakChinese_data();
    void messageBoxesSpeakChinese();
    void offerBoxNeedsAChoice();
    void fileDialogSpeaksChinese();
    void headerDateIsChinese();

    void keysStartAndStopTheLevelInProgress_data();
    void keysStartAndStopTheLevelInProgress();
    void keysDoNothingWhenTheOperatorMustChoose();
    void spaceOnAFocusedCloseNeverCloses();
    void aHeldKeyPressesOnce_data();
    void aHeldKeyPressesOnce();
    void aDoubleStartIsOneRoll_data();
    void aDoubleStartIsOneRoll();
    void keysDoNothingBehindTheRedrawWindow();
    void keysStopARedraw();
    void keysInOtherWindowsKeepTheirMeaning();

    void pointerHidesOverTheStageOnly();
    void firstPassStartsAtTheBottomOfTheScreen();
    void aStopTheDiskRefusesIsNotCounted_data();
    void aStopTheDiskRefusesIsNotCounted();
    void lateRoundsHaveAClearStage_data();
    void lateRoundsHaveAClearStage();
    void textsAreShownAsTyped();
    void pastedLineBreaksBecomeBlanks();

private:
    void startEvent(int r3 = 3, int w3 = 2);
    bool rolling() const;
    // In the open 补抽 window: the first winner ticked, 开始补抽.
    static void startRedrawOfFirst();
    QWidget *at(const QString &label) const; // the widget at the label's centre

    std::unique_ptr<ProgramDir> m_dir;
    std::unique_ptr<Stage> m_stage;
};

void TestLiveEvent::initTestCase()
{
    QVERIFY(Translations::installChinese(*qApp));
}

void TestLiveEvent::init()
{
    RandomSource::shared().setFixedSeed(3);
    m_dir = std::make_unique<ProgramDir>();
}

void TestLiveEvent::cleanup()
{
    m_stage.reset();
    m_dir.reset();
    RandomSource::shared().clearFixedSeed();
}

void TestLiveEvent::startEvent(int r3, int w3)
{
    m_dir->writeSettings(1, 1, 1, 2, r3, w3);
    const QString roster = m_dir->writeRoster(QStringLiteral("名单.vok"), ProgramDir::people(30));
    m_stage = std::make_unique<Stage>(*m_dir);
    m_stage->prepare(roster);
}

void TestLiveEvent::startRedrawOfFirst()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("补抽") && w->isVisible()) {
            w->findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(true);
            w->findChild<QPushButton *>(QStringLiteral("start"))->click();
        }
    }
}

bool TestLiveEvent::rolling() const
{
    return m_stage->form().findChild<IntervalTimer *>(QStringLiteral("Timer1"))->isEnabled();
}

QWidget *TestLiveEvent::at(const QString &label) const
{
    QWidget *target = m_stage->child<QWidget>(label);
    return m_stage->form().childAt(target->geometry().center());
}

void TestLiveEvent::messageBoxesSpeakChinese_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("OK") << int(MessageBoxService::Buttons::Ok) << QStringList{"确定"};
    QTest::newRow("OK and Cancel")
        << int(MessageBoxService::Buttons::OkCancel) << QStringList{"确定", "取消"};
}

void TestLiveEvent::messageBoxesSpeakChinese()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, texts);
    QStringList seen;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QAbstractButton *b : box->buttons())
            seen.append(b->text());
        format = box->textFormat();
        box->buttons().last()->click();
    });
    const auto answer =
        showMessage(QStringLiteral("<b>名单</b>"), QString(), MessageBoxService::Icon::None,
                    MessageBoxService::Buttons(buttons));
    seen.sort();
    texts.sort();
    QCOMPARE(seen, texts);
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(answer, buttons == int(MessageBoxService::Buttons::Ok)
                         ? MessageBoxService::Answer::Ok
                         : MessageBoxService::Answer::Cancel);
}

void TestLiveEvent::offerBoxNeedsAChoice()
{
    QString defaultText;
    bool stayedAfterEscape = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        defaultText = box->defaultButton()->text();
        QTest::keyClick(box, Qt::Key_Escape);
        box->close();
        stayedAfterEscape = box->isVisible();
        QTest::keyClick(box, Qt::Key_Return); // the default: 继续抽奖
    });
    MessageBoxService::Request request;
    request.caption = QStringLiteral("Lumora");
    request.text = QStringLiteral("发现未完成的抽奖：");
    request.buttons = MessageBoxService::Buttons::OkCancel;
    request.okText = QStringLiteral("继续抽奖");
    request.cancelText = QStringLiteral("重新开始");
    QCOMPARE(MessageBoxService::current().ask(request), MessageBoxService::Answer::Ok);
    QCOMPARE(defaultText, QStringLiteral("继续抽奖"));
    QVERIFY(stayedAfterEscape);
}

void TestLiveEvent::fileDialogSpeaksChinese()
{
    QString lookIn, fileName;
    QTimer::singleShot(0, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<QFileDialog *>(w); dialog && dialog->isVisible()) {
                lookIn = dialog->findChild<QLabel *>(QStringLiteral("lookInLabel"))->text();
                fileName = dialog->findChild<QLabel *>(QStringLiteral("fileNameLabel"))->text();
                dialog->reject();
            }
        }
    });
    FileDialogService::Request request;
    request.startDirectory = m_dir->path();
    request.filter = QStringLiteral("vok 文件 (*.vok)");
    QCOMPARE(FileDialogService::current().openFileName(request), QString());
    QCOMPARE(lookIn, QCoreApplication::translate("QFileDialog", "Look in:"));
    QVERIFY2(lookIn != QStringLiteral("Look in:") &&
                 lookIn.contains(QRegularExpression(QStringLiteral("\\p{Han}"))),
             qPrintable(lookIn));
    QVERIFY(fileName.contains(QRegularExpression(QStringLiteral("\\p{Han}"))));
}

void TestLiveEvent::headerDateIsChinese()
{
    startEvent();
    const QStringList lines =
        TextCodec::splitLines(TextCodec::decode(*TextCodec::readFile(m_stage->form().str2)));
    QVERIFY2(QRegularExpression(
                 QStringLiteral("^开奖时间：\\d{4}/\\d{1,2}/\\d{1,2} \\d{2}:\\d{2}:\\d{2}$"))
                 .match(lines[5])
                 .hasMatch(),
             qPrintable(lines[5]));
}

void TestLiveEvent::keysStartAndStopTheLevelInProgress_data()
{
    QTest::addColumn<int>("key");
    for (int key : {int(Qt::Key_PageDown), int(Qt::Key_PageUp), int(Qt::Key_Right),
                    int(Qt::Key_Left), int(Qt::Key_Down), int(Qt::Key_Up), int(Qt::Key_Space),
                    int(Qt::Key_Return), int(Qt::Key_Enter)})
        QTest::newRow(qPrintable(QKeySequence(key).toString())) << key;
}

void TestLiveEvent::keysStartAndStopTheLevelInProgress()
{
    QFETCH(int, key);
    startEvent();
    m_stage->drawRound(3); // the third prize is now the one level open
    QWidget *focus = m_stage->button(QStringLiteral("Command9"));
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key(key));
    QVERIFY(rolling());
    QCOMPARE(m_stage->text(QStringLiteral("Command2")), QStringLiteral("停止"));
    m_stage->form().Timer1_Timer();
    QTest::keyClick(focus, Qt::Key(key));
    QVERIFY(!rolling());
    QCOMPARE(m_stage->form().g3, qint16(1));
    QVERIFY(!m_stage->form().instructions()); // 重要说明, which had the focus, was not pressed
}

void TestLiveEvent::keysDoNothingWhenTheOperatorMustChoose()
{
    startEvent();
    const QStringList before = m_stage->enabledButtons();
    QTest::keyClick(m_stage->button(QStringLiteral("Command2")), Qt::Key_Space);
    QTest::keyClick(&m_stage->form(), Qt::Key_PageDown);
    QVERIFY(!rolling());
    QCOMPARE(m_stage->enabledButtons(), before);
}

void TestLiveEvent::spaceOnAFocusedCloseNeverCloses()
{
    startEvent();
    m_stage->drawRound(3);
    QPushButton *close = m_stage->button(QStringLiteral("Command7"));
    close->setFocus();
    QTest::keyClick(close, Qt::Key_Space);
    QVERIFY(m_stage->isOpen());
    QVERIFY(!m_stage->boxes.texts().contains(QStringLiteral("确定要关闭抽奖系统吗？")));
    QVERIFY(rolling()); // the key pressed the level in progress instead
}

void TestLiveEvent::aHeldKeyPressesOnce_data()
{
    // How the system delivers a key held for a while.
    QTest::addColumn<int>("style");
    QTest::newRow("presses Qt marks as repeats") << 0;
    QTest::newRow("X11: release and press pairs of one timestamp") << 1;
    QTest::newRow("Windows: presses without releases") << 2;
}

void TestLiveEvent::aHeldKeyPressesOnce()
{
    QFETCH(int, style);
    startEvent();
    m_stage->drawRound(3);
    QWidget *stage = &m_stage->form();
    quint64 clock = 1000;
    auto send = [&](QEvent::Type type, bool markedRepeat, quint64 at) {
        QKeyEvent key(type, Qt::Key_PageDown, Qt::NoModifier, QString(), markedRepeat);
        key.setTimestamp(at);
        QApplication::sendEvent(stage, &key);
    };
    send(QEvent::KeyPress, false, clock);
    QVERIFY(rolling());
    m_stage->form().Timer1_Timer();
    for (int k = 0; k < 25; ++k) { // 1.5 s of a remote's repeat
        clock += 60;
        if (style == 1)
            send(QEvent::KeyRelease, false, clock);
        send(QEvent::KeyPress, style == 0, clock);
    }
    QVERIFY(rolling()); // the repeats did not stop it
    send(QEvent::KeyRelease, false, clock += 80);
    QVERIFY(rolling());
    // The next press, after the release, is the stop.
    send(QEvent::KeyPress, false, clock += 300);
    QVERIFY(!rolling());
    QCOMPARE(m_stage->form().g3, qint16(1));
}

void TestLiveEvent::aDoubleStartIsOneRoll_data()
{
    QTest::addColumn<bool>("redraw");
    QTest::newRow("a level button") << false;
    QTest::newRow("补抽") << true;
}

void TestLiveEvent::aDoubleStartIsOneRoll()
{
    QFETCH(bool, redraw);
    startEvent();
    m_stage->drawRound(3);
    m_stage->form().minimumRollMs = 500;
    const QString button = redraw ? QStringLiteral("Command6") : QStringLiteral("Command2");
    m_stage->click(button);
    if (redraw)
        startRedrawOfFirst();
    m_stage->form().Timer1_Timer();
    // The second click of a double click, 120 ms after the first: the roll goes on.
    m_stage->click(button);
    QVERIFY(rolling());
    QCOMPARE(m_stage->text(button), QStringLiteral("停止"));
    QCOMPARE(m_stage->log().size(), 3); // the first round's heading and its two names only
    m_stage->form().minimumRollMs = 0;  // as if half a second had passed
    m_stage->click(button);
    QVERIFY(!rolling());
}

void TestLiveEvent::keysDoNothingBehindTheRedrawWindow()
{
    startEvent();
    m_stage->drawRound(3); // the third prize is the one level open: a key would start it
    m_stage->click(QStringLiteral("Command6"));
    QTest::keyClick(&m_stage->form(), Qt::Key_PageDown);
    QVERIFY(!rolling());
    QCOMPARE(m_stage->form().g3, qint16(2));
}

void TestLiveEvent::keysStopARedraw()
{
    startEvent();
    m_stage->drawRound(3);
    m_stage->click(QStringLiteral("Command6"));
    RedrawForm *window = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("补抽") && w->isVisible())
            window = qobject_cast<RedrawForm *>(w);
    }
    QVERIFY(window);
    // In the redraw window Space ticks and Enter starts, as usual there.
    QTest::keyClick(window->focusWidget(), Qt::Key_Space);
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    QCOMPARE(m_stage->text(QStringLiteral("Command6")), QStringLiteral("停止"));
    m_stage->form().Timer1_Timer();
    QTest::keyClick(&m_stage->form(), Qt::Key_Right);
    QCOMPARE(m_stage->text(QStringLiteral("Command6")), QStringLiteral("补抽"));
    QVERIFY(TextCodec::decode(*TextCodec::readFile(m_stage->form().str2))
                .contains(QStringLiteral("次补抽结果")));
}

void TestLiveEvent::keysInOtherWindowsKeepTheirMeaning()
{
    startEvent();
    m_stage->drawRound(3);
    m_stage->form().prizeSettings()->showForward();
    QLineEdit *prize = m_stage->form().prizeSettings()->field(9);
    prize->setText(QStringLiteral("汽车"));
    prize->setFocus();
    QTest::keyClick(prize, Qt::Key_Space);
    QTest::keyClick(prize, Qt::Key_Left);
    QTest::keyClick(prize, Qt::Key_Return);
    QCOMPARE(prize->text(), QStringLiteral("汽车 "));
    QCOMPARE(prize->cursorPosition(), 2);
    QVERIFY(!rolling());
}

void TestLiveEvent::pointerHidesOverTheStageOnly()
{
    startEvent();
    MainForm &form = m_stage->form();
    form.pointerHider()->setIdleMs(150);
    form.prizeSettings()->showForward();
    QCursor::setPos(form.mapToGlobal(form.rect().center()));
    QTRY_VERIFY(form.pointerHider()->isHidden());
    QCOMPARE(form.cursor().shape(), Qt::BlankCursor);
    QCOMPARE(form.findChild<QWidget *>(QStringLiteral("Label4"))->cursor().shape(),
             Qt::BlankCursor);
    QCOMPARE(form.prizeSettings()->cursor().shape(), Qt::ArrowCursor); // its own window
    QCursor::setPos(form.mapToGlobal(form.rect().center()) + QPoint(7, 3));
    QTRY_VERIFY(!form.pointerHider()->isHidden());
    QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
}

void TestLiveEvent::firstPassStartsAtTheBottomOfTheScreen()
{
    m_stage = std::make_unique<Stage>(*m_dir);
    MainForm &form = m_stage->form();
    auto *clock = form.findChild<IntervalTimer *>(QStringLiteral("timScrollText"));
    clock->setEnabled(false);
    auto *display = m_stage->child<PictureBox>(QStringLiteral("移动图1"));
    for (int k = 0; k < 7; ++k)
        form.timScrollText_Timer();
    // Covering a large screen: the pass keeps its distance from the new bottom edge.
    form.resize(3840, 2160);
    QCOMPARE(form.scrollPosition(), qint32(display->scaleHeight()) - 7);
    QVERIFY(display->height() > 1000);
    // Later passes are set up as always, and a resize no longer moves them.
    while (clock->interval() == 5)
        form.timScrollText_Timer();
    const qint32 second = form.scrollPosition();
    QCOMPARE(second, qint32(display->scaleHeight()));
    form.resize(1920, 1080);
    QCOMPARE(form.scrollPosition(), second);
}

namespace {
const char *g_refusedPoint = nullptr;
bool refuseOnce(const char *point)
{
    if (!g_refusedPoint || QByteArray(point) != g_refusedPoint)
        return false;
    g_refusedPoint = nullptr;
    return true;
}
} // namespace

void TestLiveEvent::aStopTheDiskRefusesIsNotCounted_data()
{
    QTest::addColumn<QByteArray>("point");
    QTest::addColumn<bool>("redraw");
    QTest::newRow("a round's journal record") << QByteArray("journal-write") << false;
    QTest::newRow("a round's block") << QByteArray("results-write") << false;
    QTest::newRow("a redraw's block") << QByteArray("results-write") << true;
}

void TestLiveEvent::aStopTheDiskRefusesIsNotCounted()
{
    QFETCH(QByteArray, point);
    QFETCH(bool, redraw);
    startEvent();
    m_stage->drawRound(3);
    const QStringList log = m_stage->log();
    const QStringList pool = m_stage->form().ST;
    const QStringList enabled = m_stage->enabledButtons();
    const QByteArray results = *TextCodec::readFile(m_stage->form().str2);
    const QString button = redraw ? QStringLiteral("Command6") : QStringLiteral("Command2");
    m_stage->click(button);
    if (redraw) {
        startRedrawOfFirst();
    }
    m_stage->form().Timer1_Timer();
    g_refusedPoint = point.constData();
    FaultPoints::setHandler(refuseOnce);
    m_stage->click(button);
    FaultPoints::setHandler(nullptr);

    const QString message = m_stage->boxes.texts().last();
    QVERIFY2(message.startsWith(QStringLiteral("本轮结果无法写入磁盘：")), qPrintable(message));
    QVERIFY(message.endsWith(QStringLiteral("\n本轮不算，请检查磁盘后重新抽这一轮。")));
    QVERIFY(!rolling());
    QCOMPARE(m_stage->log(), log);
    QCOMPARE(m_stage->form().ST, pool);
    QCOMPARE(m_stage->form().g3, qint16(2));
    // The level as before its roll; the stop before it could no longer be redrawn once the
    // roll had started, as in any round.
    QStringList expected = enabled;
    if (!redraw)
        expected.removeOne(QStringLiteral("Command6"));
    QCOMPARE(m_stage->enabledButtons(), expected);
    QCOMPARE(*TextCodec::readFile(m_stage->form().str2), results);
    QVERIFY(!m_stage->shown(QStringLiteral("Label1")));

    // The disk is mended: the same stop is made again and counts.
    if (redraw) {
        m_stage->click(button);
        startRedrawOfFirst();
        m_stage->form().Timer1_Timer();
        m_stage->click(button);
    } else {
        m_stage->drawRound(3);
        QCOMPARE(m_stage->form().g3, qint16(1));
        QVERIFY(m_stage->log().contains(QStringLiteral("三等奖第 2 次抽奖：")));
    }
    const Verify::Outcome verified =
        Verify::verifyEvent(m_stage->form().str2, QString(), Roster::poolEntries);
    QVERIFY2(!verified.report.join(u'\n').contains(QStringLiteral("核验失败")),
             qPrintable(verified.report.join(u'\n')));
}

void TestLiveEvent::lateRoundsHaveAClearStage_data()
{
    QTest::addColumn<bool>("redraw");
    QTest::newRow("a lower level after the first prize") << false;
    QTest::newRow("补抽 of the first prize") << true;
}

void TestLiveEvent::lateRoundsHaveAClearStage()
{
    QFETCH(bool, redraw);
    startEvent(2, 3);
    m_stage->drawRound(1); // the event's end: the results scroll
    QTRY_VERIFY(m_stage->shown(QStringLiteral("移动图1")));
    if (redraw) {
        m_stage->click(QStringLiteral("Command6"));
        startRedrawOfFirst();
    } else {
        m_stage->click(QStringLiteral("Command2"));
    }
    m_stage->form().Timer1_Timer();
    // Nothing of the round stands on the results caption: the caption is gone while it runs.
    auto noOverlaps = [this] {
        QWidget *caption = m_stage->child(QStringLiteral("移动图1"));
        for (const QString &name : {QStringLiteral("Label1"), QStringLiteral("Label2"),
                                    QStringLiteral("Label5"), QStringLiteral("Label8")}) {
            QWidget *label = m_stage->child(name);
            if (caption->isVisible() && label->isVisible() &&
                label->geometry().intersects(caption->geometry()))
                return name + QStringLiteral(" overlaps the results caption");
        }
        return QString();
    };
    QVERIFY(!m_stage->shown(QStringLiteral("移动图1")));
    QCOMPARE(noOverlaps(), QString());
    // The roll's announcement takes the notice's lines; the stop gives them back.
    QVERIFY(m_stage->shown(QStringLiteral("Label8")));
    for (const char *notice : {"Label6", "Label7", "recordCode"})
        QVERIFY2(!m_stage->shown(QString::fromLatin1(notice)), notice);
    m_stage->click(redraw ? QStringLiteral("Command6") : QStringLiteral("Command2"));
    QVERIFY(!m_stage->shown(QStringLiteral("移动图1")));
    QVERIFY(m_stage->shown(QStringLiteral("Label2")));
    QCOMPARE(noOverlaps(), QString());
    for (const char *notice : {"Label6", "Label7", "recordCode"})
        QVERIFY2(m_stage->shown(QString::fromLatin1(notice)), notice);
    // The end's pause after the stop, then the results again, read from the file anew.
    QTRY_VERIFY(m_stage->shown(QStringLiteral("移动图1")));
    QVERIFY(!m_stage->shown(QStringLiteral("Label2")));
    const QString last = redraw ? QStringLiteral("一等奖第 1 次补抽结果：")
                                : QStringLiteral("三等奖第 1 次抽奖结果：");
    QVERIFY(!m_stage->form().scrollTextLines().filter(last).isEmpty());
}

void TestLiveEvent::textsAreShownAsTyped()
{
    m_dir->writeSettings(1, 1, 1, 1, 1, 2);
    const QString roster =
        m_dir->writeRoster(QStringLiteral("名单.vok"), {"<b>甲</b>", "&lt;乙&gt;", "<i>丙", "丁"});
    m_stage = std::make_unique<Stage>(*m_dir);
    PrizeSettingsForm *settings = m_stage->form().prizeSettings();
    settings->field(7)->setText(QStringLiteral("<font color=red>公司</font>"));
    settings->field(11)->setText(QStringLiteral("<u>红包</u>"));
    m_stage->confirmSettings();
    m_stage->loadRoster(roster);
    m_stage->unlock();
    QCOMPARE(m_stage->text(QStringLiteral("Label4")),
             QStringLiteral("<font color=red>公司</font>"));
    m_stage->click(QStringLiteral("Command2"));
    QCOMPARE(m_stage->text(QStringLiteral("Label5")), QStringLiteral("奖励<u>红包</u>"));
    m_stage->form().Timer1_Timer();
    m_stage->click(QStringLiteral("Command2"));
    for (const char *name : {"Label4", "Label9", "Label5", "Label1", "Label2", "Label8"})
        QCOMPARE(m_stage->child<QLabel>(QLatin1String(name))->textFormat(), Qt::PlainText);
    const QStringList shown = m_stage->text(QStringLiteral("Label2")).split(QStringLiteral("\r\n"));
    QVERIFY(shown.contains(QStringLiteral("<b>甲</b>")) ||
            shown.contains(QStringLiteral("&lt;乙&gt;")) ||
            shown.contains(QStringLiteral("<i>丙")));
}

void TestLiveEvent::pastedLineBreaksBecomeBlanks()
{
    m_dir->writeSettings(1, 1, 1, 1, 1, 1);
    m_stage = std::make_unique<Stage>(*m_dir);
    PrizeSettingsForm *settings = m_stage->form().prizeSettings();
    settings->field(7)->setText(QStringLiteral("甲公司\r\n乙\n丙\r"));
    settings->field(9)->setText(QStringLiteral("汽车\n一辆"));
    m_stage->confirmSettings();
    QCOMPARE(settings->fieldText(7), QStringLiteral("甲公司 乙 丙 "));
    QCOMPARE(m_stage->text(QStringLiteral("Label4")), QStringLiteral("甲公司 乙 丙 "));
    const QStringList lines =
        TextCodec::splitLines(TextCodec::decode(m_dir->read(QStringLiteral("SysInfo.ini"))));
    QVERIFY(lines.contains(QStringLiteral("公司名称=甲公司 乙 丙 ")));
    QVERIFY(lines.contains(QStringLiteral("奖品=汽车 一辆")));
    for (const QString &line : lines) // no stray line: sections, keys and blank lines only
        QVERIFY2(line.isEmpty() || line.startsWith(u'[') || line.contains(u'='), qPrintable(line));
}

QTEST_MAIN(TestLiveEvent)
#include "tst_live_event.moc"
