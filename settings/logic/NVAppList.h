// The per-application list's entries and rules: naming, the context limit, duplicates, the
// window's place, and the in-memory record kept in step with the user file's contexts.
#pragma once

#include "core/model/NVTypes.h"
#include "settings/logic/NVFlavour.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class NVAppEntryKind {
    Default, // the default context
    File,    // an application that exists
    Missing, // an application no longer there: the question-mark picture
};

struct NVAppListEntry {
    std::string fileURL;  // the context's appPath ("Default" for the default context)
    std::string appName;  // shown and compared: last component before its first ".", no spaces
    std::string nodeName; // the context's element name in the user file
    NVAppEntryKind kind = NVAppEntryKind::File;
};

NVAppListEntry nv_app_entry_default();
// An application's file URL or absolute path; its name is taken whole, never mapped to an
// element name ("3DCoat" stays "3DCoat", its context is "_3DCoat").
NVAppListEntry nv_app_entry_for_url(std::string_view url);
NVAppListEntry nv_app_entry_missing(std::string_view url);
// The entry of one stored appPath: "Default", an existing file, or a missing one.
NVAppListEntry nv_app_entry_for_app_path(std::string_view appPath);
// The absolute path a file URL (escaped or not) names; the text itself when it is a path.
std::string nv_path_of_url(std::string_view url);

// Adding is refused when the list already holds this many entries.
bool nv_app_list_full(size_t entries);
// The row of the entry whose context would have the same node name.
std::optional<size_t> nv_app_list_find(const std::vector<NVAppListEntry>& entries, const std::string& nodeName);
// The position of nodeName among the context names (the context's index).
std::optional<int> nv_context_index(const std::vector<std::string>& contextNames, const std::string& nodeName);

struct NVWindowRect {
    int x, y, width, height;
};
// The list window (310 x 520) beside the main window's frame, in screen coordinates with
// y growing downwards: its left edge 648 (primary flavour) or 500 to the right of the main
// window's, its bottom 62 or 78 above the main window's bottom.
NVWindowRect nv_app_list_placement(NVFlavour flavour, const NVWindowRect& mainFrame);

// Context index becomes a copy of context 0 with the given appPath. False, cfg unchanged,
// for an index outside 1 .. NV_CONTEXT_MAX-1 or a path that does not fit the record whole.
bool nv_cfg_add_context(NVConfig& cfg, int index, std::string_view appPath);
// Removes context index (> 0): later contexts move down one place, as in the file, and the
// freed last place is cleared as a load leaves it.
void nv_cfg_remove_context(NVConfig& cfg, int index);
// True when an appPath fits the record's buffer whole.
bool nv_app_path_fits(std::string_view appPath);
