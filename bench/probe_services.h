#pragma once

#include <QString>

#include "platform/file_dialog.h"
#include "platform/message_box.h"

// The operator's answers in a probe: every message box confirmed, the roster file chosen.
class AnswerOk : public MessageBoxService
{
public:
    Answer ask(const Request &) override { return Answer::Ok; }
};

class PickRoster : public FileDialogService
{
public:
    explicit PickRoster(QString path) : m_path(std::move(path)) {}
    QString openFileName(const Request &) override { return m_path; }

private:
    QString m_path;
};
