#include "settings/logic/NVDdcClient.h"

#include "core/log/NVLog.h"

bool NVDdcClient::setVcp(uint8_t vcp, uint8_t value)
{
    const NVDdcWritePacket packet = nv_ddc_write_packet(vcp, value);
    const bool ok = port_.write(packet);
    port_.pause(nvDdcCommandInterval);
    return ok;
}

NVDdcResult NVDdcClient::getVcp(uint8_t vcp)
{
    NVDdcResult result;
    const NVDdcReadPacket packet = nv_ddc_read_packet(vcp);
    if (!port_.write(packet)) {
        port_.pause(nvDdcCommandInterval);
        return result;
    }
    port_.pause(nvDdcReplyDelay);
    NVDdcReply reply{};
    const bool arrived = port_.read(reply);
    port_.pause(nvDdcCommandInterval);
    nv_log("replay data:%02x %02x %02x %02x %02x %02x %02x %02x %02x %02x %02x", reply[0], reply[1], reply[2],
           reply[3], reply[4], reply[5], reply[6], reply[7], reply[8], reply[9], reply[10]);
    if (!arrived)
        return result;
    const NVDdcReading r = nv_ddc_parse_reply(vcp, reply);
    result.status = r.valid ? NVDdcStatus::Ok : NVDdcStatus::Invalid;
    result.maxValue = r.maxValue;
    result.currentValue = r.currentValue;
    return result;
}
