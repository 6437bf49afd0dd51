#include "agent/TipRequest.h"

#include "core/channel/NVNotificationNames.h"

namespace {

// Only the first three function sets have a tip.
constexpr int32_t kTipSets = 3;

} // namespace

std::optional<NVTipRequest> nv_tip_request(const NVPlistDict& userInfo, int screenCount)
{
    const int32_t muxIndex = nv_plist_int(userInfo, nvKeyMuxIndex);
    int32_t screen = nv_plist_int(userInfo, nvKeyScreenToDisplay);
    const NVPlistStrings& names = nv_plist_strings(userInfo, nvKeyNameArray);
    if (screen < 0 || screen >= screenCount)
        screen = 0;
    // A short nameArray comes only from a malformed sender: show nothing rather than
    // read past it.
    if (muxIndex < 0 || muxIndex >= kTipSets || static_cast<size_t>(muxIndex) >= names.size())
        return std::nullopt;
    return NVTipRequest{names[muxIndex], screen};
}
