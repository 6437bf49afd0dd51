// The X server's monitors through RandR 1.5, in native pixels and in the server's order.
// Screen-change events are read from the connection's descriptor by the main loop.
#pragma once

#include "core/input/DisplayList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct xcb_connection_t;

class RandrDisplayList : public DisplayList {
public:
    // Connects to displayName (null: $DISPLAY); null without an X server or RandR 1.5.
    static std::unique_ptr<RandrDisplayList> open(const char* displayName = nullptr);
    ~RandrDisplayList() override;
    RandrDisplayList(const RandrDisplayList&) = delete;
    RandrDisplayList& operator=(const RandrDisplayList&) = delete;

    bool activeDisplays(std::vector<NVDisplayInfo>& out) override;
    void setReconfigurationHandler(std::function<void()> handler) override;

    // Descriptor to watch for readability.
    int fd() const;
    // Reads every pending event; one burst of screen changes calls the handler once.
    // False once the server connection is lost: stop watching fd() then.
    bool dispatchEvents();

private:
    RandrDisplayList(xcb_connection_t* conn, uint32_t root, uint8_t eventBase);

    xcb_connection_t* conn_;
    uint32_t root_;
    uint8_t eventBase_;
    std::function<void()> handler_;
};
