#include <QLabel>
#include <QTest>

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
    const QStringList t = texts(notes);
    QCOMPARE(t[0], QStringLiteral("《Lumora》简易说明："));
    QVERIFY(t[1].startsWith(QStringLiteral("     1、首先，感谢您试用本抽奖系统。")));
    QVERIFY(t[1].endsWith(QStringLiteral("也可以混合使用。")));
    QVERIFY(t[2].contains(QStringLiteral("《参与抽奖名单.vok》")));
    QVERIFY(t[3].startsWith(QStringLiteral("    3、为防止《读取验证数据》时")));
    QVERIFY(t[4].startsWith(
        QStringLiteral("     4、抽奖过程中最好按照三等奖、二等奖、一等奖的次序进行")));
    QCOMPARE(t[5], QStringLiteral("     6、启动摇奖机初始密码是：52718364"));
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
    notes->close();
    QTRY_VERIFY(notes.isNull());
    stage.click(QStringLiteral("Command9"));
    QCOMPARE(texts(stage.form().instructions()), before);
}

QTEST_MAIN(TestInstructions)
#include "tst_instructions.moc"
