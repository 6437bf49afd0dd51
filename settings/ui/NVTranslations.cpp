#include "settings/ui/NVTranslations.h"

#include "core/log/NVLog.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

bool nv_install_translator(QCoreApplication& app, const std::string& resPath)
{
    const QString dir = QString::fromStdString(resPath) + "/translations";
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale::system(), "nuvrotablet", "_", dir) || translator->load("nuvrotablet_en", dir)) {
        QCoreApplication::installTranslator(translator);
        return true;
    }
    delete translator;
    nv_log("translations: none found in %s", dir.toUtf8().constData());
    return false;
}
