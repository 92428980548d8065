#pragma once

#include <QString>

// The file-open dialog goes through one service, which tests replace to give the answer.
class FileDialogService
{
public:
    struct Request
    {
        QString startDirectory;
        QString filter; // Qt filter text, e.g. "vok 文件 (*.vok)"
    };

    virtual ~FileDialogService() = default;
    // The chosen file's full path; the empty text when the dialog was cancelled.
    virtual QString openFileName(const Request &request) = 0;

    static FileDialogService &current();
    static void install(FileDialogService *service);
};
