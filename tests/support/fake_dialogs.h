#pragma once

#include <QList>
#include <QStringList>

#include "platform/file_dialog.h"
#include "platform/message_box.h"

// Records every message box and answers it (OK unless an answer was queued).
class FakeMessageBoxes : public MessageBoxService
{
public:
    FakeMessageBoxes() { install(this); }
    ~FakeMessageBoxes() override { install(nullptr); }

    Answer ask(const Request &request) override;
    void setNextAnswer(Answer answer) { m_answers.append(answer); }

    QList<Request> shown;
    QStringList texts() const;

private:
    QList<Answer> m_answers;
};

// Answers the file-open dialog with queued file names (cancel when none is queued).
class FakeFileDialog : public FileDialogService
{
public:
    FakeFileDialog() { install(this); }
    ~FakeFileDialog() override { install(nullptr); }

    QString openFileName(const Request &request) override;
    void setNextFileName(const QString &path) { m_answers.append(path); }

    QList<Request> requests;

private:
    QStringList m_answers;
};
