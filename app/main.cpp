#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "draw/main_form.h"
#include "platform/design_resources.h"
#include "platform/look.h"
#include "platform/translations.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Translations::installChinese(app);
    initDesignResources();
    QApplication::setApplicationName(QStringLiteral("Lumora"));
    QApplication::setFont(Look::defaultFont());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/design/lumora.png")));

    auto *stage = new MainForm();
    stage->setAttribute(Qt::WA_DeleteOnClose);
    stage->showOnStage();
    // Once the stage is up, with its caption and tune, an interrupted event may be continued.
    QTimer::singleShot(0, stage, &MainForm::offerUnfinishedEvent);
    return QApplication::exec();
}
