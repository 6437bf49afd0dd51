// The X server's monitors through RandR 1.5, in native pixels and in the server's order.
// Screen-change events are read from the connection on the Qt event loop of the thread
// that opened it.
#pragma once

#include "core/input/DisplayList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;
struct xcb_connection_t;

class RandrDisplayList : public DisplayList {
public:
    // Connects to displayName (null: $DISPLAY); null without an X server or RandR 1.5.
    static std::unique_ptr<RandrDisplayList> open(const char* displayName = nullptr);
    ~RandrDisplayList() override;
    RandrDisplayList(const RandrDisplayList&) = delete;
    RandrDisplayList& operator=(const RandrDisplayList&) = delete;

    // False once the server is lost: the list is refused and no change is reported again.
    bool activeDisplays(std::vector<NVDisplayInfo>& out) override;
    // One burst of screen changes calls the handler once.
    void setReconfigurationHandler(std::function<void()> handler) override;
    // Each monitor's first output: its name and its "EDID" property.
    bool displayIdentities(std::vector<NVDisplayIdentity>& out) override;

    bool isConnected() const;

private:
    RandrDisplayList(xcb_connection_t* conn, uint32_t root, uint8_t eventBase);
    void readEvents();
    NVDisplayIdentity outputIdentity(uint32_t output);

    xcb_connection_t* conn_;
    uint32_t root_;
    uint8_t eventBase_;
    uint32_t edidAtom_ = 0; // none until an output carries the property
    std::function<void()> handler_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
