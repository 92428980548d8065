#include "windows/start_lock_form.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/message_box.h"
#include "settings/rwini.h"
#include "windows/window_setup.h"

using WindowSetup::placeTwips;

namespace {
const QString kSection = QStringLiteral("密码");
const QString kKey = QStringLiteral("vok");
} // namespace

StartLockForm::StartLockForm(QWidget *parent) : QWidget(parent)
{
    WindowSetup::makeDialogWindow(this, QStringLiteral("密码启动"),
                                  QStringLiteral("键入密码启动抽奖系统"), 3750, 1755);

    auto *frame = new QGroupBox(QStringLiteral("输入启动密码"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    placeTwips(frame, 135, 90, 3435, 1005);
    auto *prompt = new QLabel(QStringLiteral("输入启动密码："), frame);
    prompt->setObjectName(QStringLiteral("Label1"));
    placeTwips(prompt, 315, 405, 1275, 285);
    prompt->adjustSize();
    m_entry = new QLineEdit(QStringLiteral("52718364"), frame);
    m_entry->setObjectName(QStringLiteral("Text2"));
    placeTwips(m_entry, 1620, 360, 1410, 270);
    m_stored = new QLineEdit(QStringLiteral("52718364"), frame);
    m_stored->setObjectName(QStringLiteral("Text1"));
    placeTwips(m_stored, 0, 675, 420, 330);
    m_stored->setVisible(false);

    m_confirm = new QPushButton(QStringLiteral("确定"), this);
    m_confirm->setObjectName(QStringLiteral("Command1"));
    placeTwips(m_confirm, 225, 1215, 1275, 375);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    placeTwips(cancel, 2160, 1215, 1275, 375);
    setTabOrder(m_confirm, cancel);
    setTabOrder(cancel, m_entry);

    connect(m_confirm, &QPushButton::clicked, this, &StartLockForm::Command1_Click);
    connect(cancel, &QPushButton::clicked, this, &StartLockForm::Command2_Click);
}

void StartLockForm::Form_Load()
{
    emit loaded();
    m_entry->setText(QString());
    m_stored->setText(ReadIni(kSection, kKey, QString()));
}

void StartLockForm::showForward()
{
    WindowSetup::showForward(this, m_shownBefore);
    if (!m_entry->hasFocus())
        m_confirm->setFocus();
}

void StartLockForm::Command1_Click()
{
    WriteIni(kSection, kKey, m_stored->text());
    if (m_stored->text() != m_entry->text()) {
        showMessage(QStringLiteral("密码错误！无权启动抽奖系统."),
                    QStringLiteral("再次确认启动密码"), MessageBoxService::Icon::Critical);
        return;
    }
    emit unlocked();
    close();
}

void StartLockForm::Command2_Click()
{
    close();
}
