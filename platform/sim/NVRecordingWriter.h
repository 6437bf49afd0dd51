// Writes a session in the replay input format (JSON Lines, one object per line, in time
// order): the tablet plugged in, the displays, each raw report, notifications from the
// settings application, activated applications and the unplug. nuvro-replay reads it.
#pragma once

#include "core/channel/NVPlist.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

struct NVScreenRect;

class NVRecordingWriter {
public:
    // out is not owned; each line is flushed as written, so a crash keeps what came before.
    explicit NVRecordingWriter(std::ostream& out);

    // A tablet plugged in: its ids and the payloads (bytes after the two-byte header) of
    // string descriptors 201, 200 and 209; a missing index is left out.
    void device(uint16_t vendor, uint16_t product, const std::map<uint8_t, std::vector<uint8_t>>& strings);
    // The active displays, in the window system's order.
    void displays(const std::vector<NVScreenRect>& bounds);
    // t: seconds since the start of the session.
    void report(double t, const uint8_t* bytes, size_t length);
    void notification(double t, const std::string& name, const NVPlistDict& userInfo);
    void activate(double t, const std::string& appPath);
    void unplug(double t);

private:
    void line(const std::string& text);

    std::ostream& out_;
};
