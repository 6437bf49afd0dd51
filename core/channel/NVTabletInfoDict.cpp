#include "core/channel/NVTabletInfoDict.h"

#include "core/channel/NVNotificationNames.h"
#include "core/model/NVText.h"

NVPlistDict nv_tablet_info_to_dict(const NVTabletInfo& ti)
{
    return NVPlistDict{
        {nvKeyBMonitor, int32_t(ti.bMonitor)},
        {nvKeyDevType, int32_t(ti.devType)},
        {nvKeyHbtnNum, int32_t(ti.hbtnNum)},
        {nvKeyLpi, int32_t(ti.lpi)},
        {nvKeyMaxP, int32_t(ti.maxP)},
        {nvKeyMaxX, int32_t(ti.maxX)},
        {nvKeyMaxY, int32_t(ti.maxY)},
        {nvKeyOemType, int32_t(ti.oemType)},
        {nvKeyPbtnNum, int32_t(ti.pbtnNum)},
        {nvKeyRate, int32_t(ti.rate)},
        {nvKeySbtnNum, int32_t(ti.sbtnNum)},
        {nvKeySDevVer, std::string(nv_buffer_text(ti.sDevVer))},
    };
}

NVTabletInfo nv_tablet_info_from_dict(const NVPlistDict& d)
{
    NVTabletInfo ti{};
    ti.bMonitor = static_cast<uint8_t>(nv_plist_int(d, nvKeyBMonitor));
    ti.devType = static_cast<uint32_t>(nv_plist_int(d, nvKeyDevType));
    ti.hbtnNum = static_cast<uint8_t>(nv_plist_int(d, nvKeyHbtnNum));
    ti.lpi = static_cast<uint16_t>(nv_plist_int(d, nvKeyLpi));
    ti.maxP = static_cast<uint16_t>(nv_plist_int(d, nvKeyMaxP));
    ti.maxX = static_cast<uint32_t>(nv_plist_int(d, nvKeyMaxX));
    ti.maxY = static_cast<uint32_t>(nv_plist_int(d, nvKeyMaxY));
    ti.oemType = static_cast<uint32_t>(nv_plist_int(d, nvKeyOemType));
    ti.pbtnNum = static_cast<uint8_t>(nv_plist_int(d, nvKeyPbtnNum));
    ti.rate = static_cast<uint16_t>(nv_plist_int(d, nvKeyRate));
    ti.sbtnNum = static_cast<uint8_t>(nv_plist_int(d, nvKeySbtnNum));
    nv_copy_to_buffer(ti.sDevVer, nv_plist_string(d, nvKeySDevVer));
    return ti;
}
