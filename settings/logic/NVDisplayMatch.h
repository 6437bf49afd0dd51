// The monitor page's displays: those of the suite's display source, in its order, each
// given the DRM connector that drives it, and so its DDC/CI bus. A display and a connector
// are the same monitor when their EDIDs agree; only where one side has no EDID are they
// paired by output name.
#pragma once

#include "core/input/DisplayList.h"
#include "platform/linux/DrmConnectors.h"
#include "settings/logic/DDCCIControl.h"

#include <vector>

// One entry per display; bus -1 where no connector matched or the connector has no DDC
// lines. Each connector serves one display at most.
std::vector<DDCDisplay> nv_match_ddc_displays(const std::vector<NVDisplayIdentity>& displays,
                                              const std::vector<DrmConnector>& connectors);
