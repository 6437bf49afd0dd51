// Which controls of the main window are enabled, and which page it shows, as the tablet
// comes and goes and the user edits and applies.
#pragma once

#include <array>

// Tab tags of the main window, in button order.
enum NVTab : int { NVTAB_EKEY = 0, NVTAB_PEN = 1, NVTAB_WORKAREA = 2, NVTAB_INFO = 3, NVTAB_COUNT = 4 };

// The page factory's identifier of a tab; null for a tag that names none.
const char* nv_tab_page_id(int tag);

struct NVMainControls {
    std::array<bool, NVTAB_COUNT> tabs{};
    bool importBtn = false;
    bool exportBtn = false;
    bool defaultBtn = false;
    bool ok = false;
    bool apply = false;
    bool operator==(const NVMainControls&) const = default;
};

class NVMainViewState {
public:
    // Tabs, Import, Export and Default on; OK and Apply off; the info page.
    void openTablet();
    // Everything off; the info page.
    void closeTablet();
    // A page changed the configuration, or the info page imported one: OK and Apply on.
    void edited();
    // The configuration went to the agent: OK and Apply off.
    void applied();
    // Shows the page of tag; with a tablet every tab but the shown one is enabled. False,
    // nothing changed, for a tag that names no page.
    bool switchTo(int tag);

    bool opened() const { return opened_; }
    int page() const { return page_; }
    const NVMainControls& controls() const { return controls_; }

private:
    bool opened_ = false;
    int page_ = NVTAB_INFO;
    NVMainControls controls_;
};
