// NVTabletInfo as it travels to the settings application: a dictionary of its counts,
// sizes and identity string.
#pragma once

#include "core/channel/NVPlist.h"
#include "core/model/NVTypes.h"

NVPlistDict nv_tablet_info_to_dict(const NVTabletInfo& ti);
// Missing or mistyped keys read as zero; members not carried are zero; numbers are cut
// to their member's width and sDevVer to 31 bytes.
NVTabletInfo nv_tablet_info_from_dict(const NVPlistDict& d);
