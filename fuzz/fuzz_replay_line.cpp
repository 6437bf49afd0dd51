// Arbitrary text as one recording line: the parser refuses or accepts without crashing,
// and what it accepts survives the recorder's writing unchanged.
#include "platform/sim/NVPlistJson.h"
#include "platform/sim/NVRecordingWriter.h"
#include "tools/NVReplayLine.h"

#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    NVReplayLine line;
    std::string why;
    if (!nv_parse_replay_line(text, line, why)) {
        if (why.empty())
            std::abort();
        return 0;
    }
    std::ostringstream out;
    NVRecordingWriter writer(out);
    switch (line.kind) {
    case NVReplayLine::Kind::Report:
        if (line.bytes.empty() || line.bytes.size() > NV_REPLAY_REPORT_MAX)
            std::abort();
        writer.report(line.t, line.bytes.data(), line.bytes.size());
        break;
    case NVReplayLine::Kind::Notification:
        writer.notification(line.t, line.name, line.userInfo);
        break;
    case NVReplayLine::Kind::Device:
        writer.device(line.device.vendor, line.device.product, line.device.strings);
        break;
    default:
        return 0;
    }
    std::string written = out.str();
    written.pop_back(); // the newline
    NVReplayLine again;
    if (!nv_parse_replay_line(written, again, why))
        std::abort();
    if (again.bytes != line.bytes || again.userInfo != line.userInfo || again.name != line.name ||
        again.device.strings != line.device.strings || again.t != line.t)
        std::abort();
    return 0;
}
