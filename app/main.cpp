#include <QApplication>
#include <QIcon>

#include "draw/main_form.h"
#include "platform/design_resources.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    initDesignResources();
    QApplication::setApplicationName(QStringLiteral("Lumora"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/design/lumora.png")));

    auto *stage = new MainForm();
    stage->setAttribute(Qt::WA_DeleteOnClose);
    stage->showOnStage();
    return QApplication::exec();
}
