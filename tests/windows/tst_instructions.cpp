#include <QLabel>
#include <QTest>

#include "platform/look.h"
#include "support/stage.h"
#include "windows/instructions_form.h"

class TestInstructions : public QObject
{
    Q_OBJECT
private slots:
    void showsOneWindowWithTheNotes();
    void closingAndOpeningShowsTheSameTexts();

private:
    static QStringList texts(QWidget *window);
};

QStringList TestInstructions::texts(QWidget *window)
{
    QStringList list;
    for (const char *name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label7"})
        list.append(window->findChild<QLabel *>(QLatin1String(name))->text());
    return list;
}

void TestInstructions::showsOneWindowWithTheNotes()
{
    ProgramDir dir;
    Stage stage(dir);
    stage.click(QStringLiteral("Command9"));
    stage.click(QStringLiteral("Command9"));
    const auto windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(),
                           [](QWidget *w) { return w->objectName() == QStringLiteral("说明"); }),
             1);
    InstructionsForm *notes = stage.form().instructions();
    QVERIFY(notes && notes->isVisible());
    QCOMPARE(notes->windowTitle(), QStringLiteral("Lumora说明"));
    // The quoted texts, whole: each note begins with five blanks, note 3 with four.
    const QStringList quoted{
        QStringLiteral("《Lumora》简易说明："),
        QStringLiteral(
            "     "
            "1、首先，感谢您试用本抽奖系统。希望它给你的活动带来欢乐。本系统面向社会任何单位团体喜"
            "庆、奖励、促销活动现场抽奖使用，本系统使用先进的运算法，基本保证摇奖的公平性。可以使用"
            "工号、电话号码，姓名，数字、身份证、学号等等。也可以混合使用。"),
        QStringLiteral(
            "     "
            "2、本系统简单易用。首先用记事本打开文件夹里的《参与抽奖名单."
            "vok》，把参与人员的信息写入，一行一个人员，不要留空行。不可更改任何名称，防止出错。"),
        QStringLiteral("    "
                       "3、为防止《读取验证数据》时，有人启动抽奖机，特屏蔽按钮并设定简单、固定的启"
                       "动密码，以备安全。"),
        QStringLiteral("     "
                       "4、抽奖过程中最好按照三等奖、二等奖、一等奖的次序进行，防止出错，给欢乐和谐"
                       "的氛围带来尴尬和不公平。"),
        QStringLiteral("     6、启动摇奖机初始密码是：52718364"),
    };
    QCOMPARE(texts(notes), quoted);
    // The notes stand on a plain light sheet, not on the picture: between two notes, and
    // around the words of one, the window is nearly white.
    const QImage shown = notes->grab().toImage();
    for (const QPoint twips : {QPoint(4000, 4200), QPoint(200, 1000), QPoint(8400, 4300)}) {
        const QColor c = shown.pixelColor(Look::twipsRect(twips.x(), twips.y(), 0, 0).topLeft());
        QVERIFY2(std::min({c.red(), c.green(), c.blue()}) >= 200, qPrintable(c.name()));
    }
    // The main window stays usable beside it.
    QVERIFY(stage.button(QStringLiteral("Command5"))->isEnabled());
}

void TestInstructions::closingAndOpeningShowsTheSameTexts()
{
    ProgramDir dir;
    Stage stage(dir);
    stage.click(QStringLiteral("Command9"));
    QPointer<InstructionsForm> notes = stage.form().instructions();
    const QStringList before = texts(notes);
    QTest::keyClick(notes, Qt::Key_Escape); // as every other window of the program
    QTRY_VERIFY(notes.isNull());
    stage.click(QStringLiteral("Command9"));
    QCOMPARE(texts(stage.form().instructions()), before);
}

QTEST_MAIN(TestInstructions)
#include "tst_instructions.moc"
