#include "windows/instructions_form.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include "platform/design_resources.h"
#include "platform/look.h"
#include "windows/author_credit.h"
#include "windows/note_label.h"
#include "windows/window_setup.h"

InstructionsForm::InstructionsForm(QWidget *parent) : QWidget(parent)
{
    initDesignResources();
    m_background = QImage(QStringLiteral(":/design/instructions.jpg"));
    WindowSetup::makeDialogWindow(this, QStringLiteral("说明"), QStringLiteral("Lumora说明"), 8520,
                                  5805);

    struct Note
    {
        const char *name;
        int left, top, width, height;
        QString text;
    };
    const Note notes[] = {
        {"Label1", 45, 180, 7620, 420, QStringLiteral("《Lumora》简易说明：")},
        {"Label2", 90, 810, 8250, 1050,
         QStringLiteral(
             "     1、首先，感谢您试用本抽奖系统。希望它给你的活动带来欢乐。本系统面向社会任何"
             "单位团体喜庆、奖励、促销活动现场抽奖使用，本系统使用先进的运算法，基本保证摇奖"
             "的公平性。可以使用工号、电话号码，姓名，数字、身份证、学号等等。也可以混合使用。")},
        {"Label3", 90, 1890, 8250, 825,
         QStringLiteral(
             "     2、本系统简单易用。首先用记事本打开文件夹里的《参与抽奖名单.vok》，把参与人员"
             "的信息写入，一行一个人员，不要留空行。不可更改任何名称，防止出错。")},
        {"Label4", 90, 2745, 8340, 600,
         QStringLiteral(
             "    3、为防止《读取验证数据》时，有人启动抽奖机，特屏蔽按钮并设定简单、固定的启动"
             "密码，以备安全。")},
        {"Label5", 90, 3330, 8340, 600,
         QStringLiteral(
             "     4、抽奖过程中最好按照三等奖、二等奖、一等奖的次序进行，防止出错，给欢乐和谐"
             "的氛围带来尴尬和不公平。")},
        {"Label7", 90, 4455, 8340, 375, QStringLiteral("     6、启动摇奖机初始密码是：52718364")},
        {"Label8", 90, 5040, 7710, 330, AuthorCredit::alias() + QStringLiteral("  2016")},
        {"Label9", 90, 5400, 7665, 330,
         QStringLiteral("QQ：") + AuthorCredit::qq() + QStringLiteral("  微信：") +
             AuthorCredit::weChat()},
    };
    for (const Note &note : notes) {
        auto *label = new NoteLabel(QLatin1String(note.name), note.text, this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFont(Look::font(Look::Face::SongTi, 12, true));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
        WindowSetup::placeTwips(label, note.left, note.top, note.width, note.height);
    }
    auto *heading = findChild<QLabel *>(QStringLiteral("Label1"));
    heading->setFont(Look::font(Look::Face::SongTi, 15.75, true));
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto colour = [this](const char *name, quint32 bgr) {
        auto *label = findChild<QLabel *>(QLatin1String(name));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Look::bgr(bgr));
        label->setPalette(palette);
        return label;
    };
    colour("Label1", 0x00C00000);
    colour("Label7", 0x0000C000);
    for (const char *name : {"Label8", "Label9"}) {
        QLabel *credit = colour(name, 0x00FFFFFF);
        credit->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
    findChild<QLabel *>(QStringLiteral("Label8"))
        ->setFont(Look::font(Look::Face::SongTi, 12, false));
}

void InstructionsForm::showForward()
{
    WindowSetup::showForward(this, m_shownBefore);
}

void InstructionsForm::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_background); // unscaled, from the top-left corner
    // The notes stand on a plain sheet: black text on a busy picture does not read.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 235));
    const QRect sheet = Look::twipsRect(30, 120, 8460, 4770);
    painter.drawRoundedRect(sheet, 6, 6);
}

void InstructionsForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
