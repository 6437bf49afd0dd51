// The settings changes of a recording's cfg line, made to a configuration record the way
// the settings application would: through the configuration file's own names.
#pragma once

#include "core/model/NVTypes.h"

#include <nlohmann/json.hpp>

#include <string>

// Applies changes to cfg (the record of the tablet ti). Keys are the device-setting leaf
// names of the file, or "context/collection/index" paths (see nuvro-replay). "N/appPath"
// for the next free context index N adds that application's context, to the user file
// too. false, with why and cfg and the user file untouched, for an unknown name, a missing
// context or key position, a context beyond the next free one or the last, or a value of
// the wrong kind.
bool nv_replay_apply_cfg(const nlohmann::json& changes, NVConfig& cfg, const NVTabletInfo& ti, std::string& why);
