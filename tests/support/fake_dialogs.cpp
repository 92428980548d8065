#include "support/fake_dialogs.h"

MessageBoxService::Answer FakeMessageBoxes::ask(const Request &request)
{
    shown.append(request);
    return m_answers.isEmpty() ? Answer::Ok : m_answers.takeFirst();
}

QStringList FakeMessageBoxes::texts() const
{
    QStringList list;
    for (const Request &r : shown)
        list.append(r.text);
    return list;
}

QString FakeFileDialog::openFileName(const Request &request)
{
    requests.append(request);
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
}
