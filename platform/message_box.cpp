#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace {

class RealMessageBoxes : public MessageBoxService
{
public:
    Answer ask(const Request &request) override
    {
        QMessageBox box;
        box.setWindowTitle(request.caption);
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
        }
        if (request.buttons == Buttons::OkCancel)
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        else
            box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        // The stage is frameless and covers the screen: keep the box above it.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
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
