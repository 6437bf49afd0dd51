#include "core/driver/NVDevHID.h"

#include "core/device/libCross/nvParse.h"
#include "core/events/WindowSystem.h"
#include "core/input/DisplayList.h"
#include "core/input/NVDataHandler.h"
#include "core/log/NVLog.h"
#include "core/model/NVGlobalInfo.h"

namespace {

// OpenHIDService's result when the window system has no keyboard connection to give.
constexpr int kNoKeyboardConnection = -1;

} // namespace

NVDevHID::NVDevHID(const NVDevServices& services, std::function<void()> unusable)
    : services_(services),
      handler_(std::make_unique<NVDataHandler>(services.displays, services.clock, &services.center,
                                               services.workspaceCenter)),
      unusable_(std::move(unusable))
{
}

NVDevHID::~NVDevHID()
{
    close();
}

bool NVDevHID::listen(UsbDevice& device)
{
    if (services_.trusted && !services_.trusted())
        nv_log("NVDevHID listen, input cannot be posted without write access to /dev/uinput: "
               "install the udev rule 70-nuvro-tablet.rules, then log in again");
    close();
    hidManager_ = services_.bus.createHidManager();
    if (OpenHIDService() != 0)
        nv_log("error opening HID service");
    HidManager::Callbacks callbacks;
    callbacks.inserted = [this](HidInterfaceRef ref) { callback_hid_insert(ref); };
    callbacks.removed = [this](HidInterfaceRef ref) { callback_hid_remove(ref); };
    callbacks.report = [this](HidInterfaceRef, const uint8_t* report, size_t length) {
        callback_hid_report(report, length);
    };
    callbacks.failed = [this](HidInterfaceRef) {
        if (open_ && unusable_)
            unusable_();
    };
    open_ = true;
    const uint32_t result = hidManager_->open(device, std::move(callbacks));
    if (result != 0) {
        if ((result & 0xFFFF) == HidManager::kExclusiveAccessError)
            nv_log("IOHIDManagerOpen as exclusive access mode:%x", result);
        else
            nv_log("IOHIDManagerOpen failed.Error code:%x", result);
    }
    return true;
}

int NVDevHID::OpenHIDService()
{
    nv_log("OpenHIDService");
    if (const int closed = CloseHIDService(); closed != 0)
        return closed;
    const uint32_t connect = services_.windowSystem.connectKeyboard();
    if (connect == 0)
        return kNoKeyboardConnection;
    g_gi.hidConnect = connect;
    return 0;
}

int NVDevHID::CloseHIDService()
{
    if (g_gi.hidConnect == 0)
        return 0;
    services_.windowSystem.disconnectKeyboard(g_gi.hidConnect);
    g_gi.hidConnect = 0;
    return 0;
}

void NVDevHID::close(std::function<void()> released)
{
    if (!open_)
        return;
    open_ = false;
    stopFollowingDisplays();
    hidManager_->close(std::move(released));
}

bool NVDevHID::closeWithin(double seconds)
{
    open_ = false;
    stopFollowingDisplays();
    return !hidManager_ || hidManager_->closeWithin(seconds);
}

void NVDevHID::stopFollowingDisplays()
{
    if (interfaces_ > 0)
        services_.displays.setReconfigurationHandler({});
    interfaces_ = 0;
}

void NVDevHID::callback_hid_insert(HidInterfaceRef ref)
{
    nv_log("callback_hid_insert(inContext=%p, inResult=%i, inSender=%p, inIOHIDDeviceRef=)",
           static_cast<void*>(this), 0, static_cast<const void*>(ref.device));
    // One display handler for all interfaces: a reconfiguration refreshes the mapping once.
    if (interfaces_++ == 0)
        services_.displays.setReconfigurationHandler([this] { display_callback(); });
}

void NVDevHID::callback_hid_remove(HidInterfaceRef)
{
    if (interfaces_ > 0 && --interfaces_ == 0)
        services_.displays.setReconfigurationHandler({});
}

void NVDevHID::callback_hid_report(const uint8_t* report, size_t length)
{
    if (length == NV_REPORT_SIZE)
        handler_->handleData(report);
}

void NVDevHID::display_callback()
{
    handler_->coordMap().refreshScreens();
    if (services_.displaysChanged)
        services_.displaysChanged();
}
