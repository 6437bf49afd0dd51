// The texts of the settings application in the system's language, English when there is
// no translation for it.
#pragma once

#include <string>

class QCoreApplication;

// Loads "<resources>/translations/nuvrotablet_<locale>.qm" into the application. False
// (keys shown as they are, and one log line) when no file could be loaded.
bool nv_install_translator(QCoreApplication& app, const std::string& resPath);
