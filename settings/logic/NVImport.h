// The info page's import: a chosen file replaces the configuration being edited and the
// stored one. A file that is no configuration changes nothing.
#pragma once

#include "core/model/NVTypes.h"

#include <string>

// Ends the running agent in order and starts it again.
class NVAgentRestarter {
public:
    virtual ~NVAgentRestarter() = default;
    virtual void restartAgent() = 0;
};

// True when the file holds a Default context with an appPath for the model.
bool nv_import_has_app_paths(const std::string& path, const std::string& modelId);

enum class NVImportResult { Imported, NotAConfiguration };

// Reads path into *cfg; a file without per-application paths for the model restarts the
// agent; the record is then stored as the user's file, written into the imported
// document. NotAConfiguration leaves *cfg, the user file and the agent as they were.
NVImportResult nv_import_configuration(const std::string& path, NVConfig* cfg, const NVTabletInfo* ti,
                                       NVAgentRestarter& agent);
