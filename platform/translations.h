#pragma once

class QCoreApplication;

// Qt's own Chinese texts (the file dialog, standard buttons), whatever the machine's locale.
namespace Translations {

// Makes Chinese the default locale and loads Qt's zh_CN translations from Qt's folder, or from a
// "translations" folder beside the executable when the program is deployed without Qt's. False when
// none was found: the dialogs then speak Qt's English.
bool installChinese(QCoreApplication &app);

} // namespace Translations
