// The settings changes of a recording's cfg line, made to a configuration record the way
// the settings application would: through the configuration file's own names.
#pragma once

#include "core/model/NVTypes.h"

#include <nlohmann/json.hpp>

#include <string>

// Applies changes to cfg (the record of the tablet ti). Keys are the device-setting leaf
// names of the file, or "context/collection/index" paths (see nuvro-replay). false, with
// why and cfg untouched, for an unknown name, a missing key position or a value of the
// wrong kind.
bool nv_replay_apply_cfg(const nlohmann::json& changes, NVConfig& cfg, const NVTabletInfo& ti, std::string& why);
