#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

class RealMessageBoxes : public MessageBoxService
{
public:
    Answer ask(const Request &request) override
    {
        QMessageBox box;
        box.setWindowTitle(request.caption);
        // Paths, titles and names are shown as typed, never as markup.
        box.setTextFormat(Qt::PlainText);
        box.setText(request.text);
        switch (request.icon) {
        case Icon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        }
        // The buttons speak Chinese on any desktop, as the system's own boxes do on a Chinese one.
        QPushButton *ok =
            box.addButton(request.okText.isEmpty() ? QStringLiteral("确定") : request.okText,
                          QMessageBox::AcceptRole);
        QPushButton *cancel = nullptr;
        if (request.buttons == Buttons::OkCancel && request.cancelText.isEmpty()) {
            cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
            box.setEscapeButton(cancel);
        } else if (request.buttons == Buttons::OkCancel) {
            // Two named choices: Esc or the close box must not choose either of them by chance.
            cancel = box.addButton(request.cancelText, QMessageBox::ActionRole);
        }
        box.setDefaultButton(request.cancelIsDefault && cancel ? cancel : ok);
        // The stage is frameless and covers the screen: keep the box above it.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
        return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
    }
};

MessageBoxService *installed = nullptr;

} // namespace

MessageBoxService &MessageBoxService::current()
{
    static RealMessageBoxes real;
    return installed ? *installed : real;
}

void MessageBoxService::install(MessageBoxService *service)
{
    installed = service;
}

MessageBoxService::Answer showMessage(const QString &text, const QString &caption,
                                      MessageBoxService::Icon icon,
                                      MessageBoxService::Buttons buttons)
{
    MessageBoxService::Request request;
    request.text = text;
    request.caption = caption.isEmpty() ? QString::fromUtf16(kApplicationTitle) : caption;
    request.icon = icon;
    request.buttons = buttons;
    return MessageBoxService::current().ask(request);
}
