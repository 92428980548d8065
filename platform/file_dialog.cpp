#include "platform/file_dialog.h"

#include <QFileDialog>

namespace {

class RealFileDialog : public FileDialogService
{
public:
    QString openFileName(const Request &request) override
    {
        QFileDialog dialog(nullptr, QString(), request.startDirectory, request.filter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setOption(QFileDialog::ReadOnly, true);
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }
};

FileDialogService *installed = nullptr;

} // namespace

FileDialogService &FileDialogService::current()
{
    static RealFileDialog real;
    return installed ? *installed : real;
}

void FileDialogService::install(FileDialogService *service)
{
    installed = service;
}
