#pragma once

#include <QString>

class QWidget;

// Modal message boxes go through one service, which tests replace to record what was shown and
// to give the answer.
class MessageBoxService
{
public:
    enum class Icon { None, Critical, Warning, Information, Question };
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };

    struct Request
    {
        QString text;
        QString caption;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        // Captions of the two buttons of OkCancel when they are not "确定" and "取消"; the
        // first is the default and answers Ok.
        QString okText;
        QString cancelText;
        // Cancel is the default (Enter) instead of Ok: for a choice that cannot be taken back.
        bool cancelIsDefault = false;
    };

    virtual ~MessageBoxService() = default;
    virtual Answer ask(const Request &request) = 0;

    // The service in use; the real message boxes unless a test installed its own.
    static MessageBoxService &current();
    // Installs a replacement (nullptr restores the real one). Ownership stays with the caller.
    static void install(MessageBoxService *service);
};

// The application title, the caption of every message box that names none.
inline constexpr const char16_t *kApplicationTitle = u"Lumora";

// Shorthands for the program's message boxes.
MessageBoxService::Answer
showMessage(const QString &text, const QString &caption = QString(),
            MessageBoxService::Icon icon = MessageBoxService::Icon::None,
            MessageBoxService::Buttons buttons = MessageBoxService::Buttons::Ok);
