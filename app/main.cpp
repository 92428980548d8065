#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "draw/main_form.h"
#include "platform/design_resources.h"
#include "platform/look.h"
#include "platform/message_box.h"
#include "platform/program_directory.h"
#include "platform/single_instance.h"
#include "platform/translations.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Translations::installChinese(app);
    initDesignResources();
    QApplication::setApplicationName(QStringLiteral("Lumora"));
    QApplication::setFont(Look::defaultFont());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/design/lumora.png")));

    // Before anything is read, offered, set aside or written.
    const SingleInstance instance(ProgramDirectory::path());
    if (instance.anotherIsRunning()) {
        showMessage(QStringLiteral("Lumora 已经在运行：同一个文件夹中只能运行一个抽奖程序。"));
        return 1;
    }

    auto *stage = new MainForm();
    stage->setAttribute(Qt::WA_DeleteOnClose);
    stage->showOnStage();
    // Once the stage is up, with its caption and tune, an interrupted event may be continued.
    QTimer::singleShot(0, stage, &MainForm::offerUnfinishedEvent);
    return QApplication::exec();
}
