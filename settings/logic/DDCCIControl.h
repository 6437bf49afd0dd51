// The monitor page's displays and the one it adjusts: brightness, contrast, colour preset
// and gains over DDC/CI, through a queue per display so a request never waits in the window.
#pragma once

#include "settings/logic/NVDdcQueue.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct DDCDisplay {
    uint32_t displayID = 0;  // position in the display source's list
    int bus = -1;            // the I2C bus of its DDC lines; -1 when it has none
    std::string screenName;  // empty when unknown
    std::string seriaNumber; // empty when unknown
    bool operator==(const DDCDisplay&) const = default;
};

// Where the displays and their buses come from: the desktop's displays on the kernel's DRM
// connectors, or a test's.
class NVDdcDisplaySource {
public:
    virtual ~NVDdcDisplaySource() = default;
    virtual std::vector<DDCDisplay> displays() = 0;
    // The display's bus; null when it cannot be opened.
    virtual std::unique_ptr<NVI2cPort> open(const DDCDisplay& display) = 0;
    // Called on the window's thread when the displays may have changed; a source whose
    // displays never change ignores it. Empty stops the calls.
    virtual void setChangeHandler(std::function<void()>) {}
};

// "%d:%s" of the 1-based position and the screen name.
std::string nv_display_chooser_title(int position, const std::string& screenName);
// The user default that makes the display's sliders report only when released.
std::string nv_continuous_effects_key(const std::string& serialNumber);

// A port that answers nothing, for a display without a bus that opens.
class NVSilentI2cPort : public NVI2cPort {
public:
    bool write(std::span<const uint8_t>) override { return false; }
    bool read(std::span<uint8_t>) override { return false; }
    void pause(std::chrono::milliseconds) override {}
};

class DDCCIControl {
public:
    explicit DDCCIControl(NVDdcDisplaySource& source) : source_(source) {}

    // Appends the source's displays; returns the count now held.
    int8_t getDisplays();
    const std::vector<DDCDisplay>& displays() const { return displays_; }
    // An index into displays(); negative (or past the end) means none, and then every
    // request does nothing.
    int64_t currentDisplayID = -1;
    const DDCDisplay* getCurrentDisplay() const;

    // Requests to the current display; done runs on the display's queue thread. They
    // return false, and done is not called, when there is no current display.
    bool read(uint8_t vcp, NVDdcQueue::GetDone done);
    bool write(uint8_t vcp, uint8_t value, NVDdcQueue::SetDone done = {});
    bool reset(NVDdcQueue::SetDone done = {});

private:
    NVDdcQueue* queue();

    NVDdcDisplaySource& source_;
    std::vector<DDCDisplay> displays_;
    std::map<int64_t, std::unique_ptr<NVDdcQueue>> queues_;
};
