#include "core/driver/NVDevUSB.h"

#include "core/channel/NVNotificationDriverPeer.h"
#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigIO.h"
#include "core/device/NVModelTable.h"
#include "core/device/libCross/nvParse.h"
#include "core/input/NVDataHandler.h"
#include "core/log/NVLog.h"
#include "core/model/NVGeometry.h"
#include "core/model/NVGlobalInfo.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr uint8_t kStringModel = 201;
constexpr uint8_t kStringInfo = 200;
constexpr uint8_t kStringBattery = 209;
// How long the end of the process waits for each layer's transfers to come back.
constexpr double kShutdownWaitSeconds = 1.0;

// GET_DESCRIPTOR of a string into a zero-filled buffer; the parsers get the payload.
bool read_string(UsbDevice& dev, uint8_t index, uint8_t (&buffer)[NV_USB_STRING_BUFFER])
{
    std::memset(buffer, 0, sizeof buffer);
    return dev.readStringDescriptor(index, buffer);
}

} // namespace

NVDevUSB::NVDevUSB(const NVDevServices& services)
    : services_(services),
      notification_(std::make_unique<NVNotificationDriverPeer>(nullptr, services.center, services.workspaceCenter))
{
    batteryToken_ = services_.center.observe(nvNotificationQueryBatteryPower,
                                             [this](const std::string&, const NVPlistDict&) {
                                                 queryBatteryPowerFromUI();
                                             });
}

NVDevUSB::~NVDevUSB()
{
    services_.center.removeObserver(batteryToken_);
    hid_.reset();
    retiring_.clear();
    setCurrentDevice(nullptr);
}

bool NVDevUSB::listen()
{
    nv_log("NVDevUSB \t listen");
    const bool armed = services_.bus.listen(
        NV_USB_VENDOR, [this](const std::vector<UsbDeviceRef>& devices) { callback_usb_insert(devices); },
        [this](const std::vector<UsbDeviceRef>& devices) { callback_usb_remove(devices); });
    if (!armed) {
        nv_log("NVDevUSB listen, the USB bus cannot be watched");
        return true;
    }
    return false;
}

void NVDevUSB::close()
{
    nv_log("NVDevUSB \tNVDevUSB close");
    if (hid_)
        hid_->handler().resetState();
    if (g_gi.ti.devType != NVTT_UNKNOW)
        NVConfigIO::saveNVConfig(&g_gi.cfg, "", &g_gi.ti);
    hidWaiting_ = false;
    bool released = true;
    for (const auto& layer : retiring_)
        released = layer->closeWithin(kShutdownWaitSeconds) && released;
    if (hid_)
        released = hid_->closeWithin(kShutdownWaitSeconds) && released;
    if (!released)
        nv_log("NVDevUSB close, the tablet's transfers did not come back in time");
    setCurrentDevice(nullptr);
}

void NVDevUSB::callback_usb_insert(const std::vector<UsbDeviceRef>& devices)
{
    nv_log("callback_usb_insert");
    for (const UsbDeviceRef& dev : devices) {
        nv_log("Device 0x%08x added func.\n", dev->logId());
        // The current tablet comes again when the bus is armed anew: it is opened afresh.
        if (dev == usbDevice_)
            setCurrentDevice(nullptr);
        if (dev->vendorId() != NV_USB_VENDOR) {
            nv_log("found device i didn't want (vendor = %d, product = %d)\n", dev->vendorId(), dev->productId());
            continue;
        }
        if (givenUp_.contains(dev->logId()))
            continue;
        if (const int err = dev->open(); err != 0) {
            nv_log("unable to open device: %08x\n", static_cast<unsigned>(err));
            continue;
        }
        uint8_t buffer[NV_USB_STRING_BUFFER];
        if (!read_string(*dev, kStringModel, buffer)) {
            nv_log("unable to read string descriptor %d\n", kStringModel);
            dev->close();
            return;
        }
        // Identified aside: a device that is not recognised leaves the current tablet alone.
        NVTabletInfo ti{};
        uint16_t text[(NV_USB_STRING_BUFFER - 2) / 2];
        std::memcpy(text, buffer + 2, sizeof text);
        parse_str_201(text, &ti);
        if (!read_string(*dev, kStringInfo, buffer)) {
            nv_log("unable to read string descriptor %d\n", kStringInfo);
            dev->close();
            return;
        }
        parse_str_200(buffer + 2, &ti);
        if (ti.devType == NVTT_UNKNOW) {
            dev->close();
            continue;
        }
        retireHid();
        g_gi.ti = ti;
        setCurrentDevice(dev);

        NVConfigIO::readXml("", &g_gi.cfg, &g_gi.ti);
        NVConfigIO::readTabletLayout(&g_gi.tabletLayout, &g_gi.ti, &g_gi.cfg);
        std::memset(g_gi.lastReport, 0, sizeof g_gi.lastReport);
        g_gi.bCalibrating = 0;
        if (g_gi.ti.sbtnNum != 0) {
            const NVRect tablet{0, 0, static_cast<int32_t>(g_gi.ti.maxX), static_cast<int32_t>(g_gi.ti.maxY)};
            project_rect_to_rect(&g_gi.tabletLayout.workarea, &g_gi.tabletLayout.sbtnInRect, &tablet,
                                 &g_gi.sbtnInRect);
        }
        notification_->notifyTabletInfo();

        hid_ = std::make_unique<NVDevHID>(services_, [this] { tabletUnusable(); });
        openHidWhenFree();
    }
}

void NVDevUSB::callback_usb_remove(const std::vector<UsbDeviceRef>& devices)
{
    nv_log("callback_usb_remove");
    bool removed = false;
    for (const UsbDeviceRef& dev : devices) {
        if (dev->vendorId() != NV_USB_VENDOR)
            continue;
        removed = true;
        nv_log("Raw device removed.\n");
        givenUp_.erase(dev->logId());
        forgetTablet();
    }
    if (removed)
        listen();
}

void NVDevUSB::forgetTablet()
{
    // Without a tablet there is no model to save the record under.
    if (g_gi.ti.devType != NVTT_UNKNOW)
        NVConfigIO::saveNVConfig(&g_gi.cfg, "", &g_gi.ti);
    retireHid();
    setCurrentDevice(nullptr);
    std::memset(&g_gi.ti, 0, sizeof g_gi.ti);
    notification_->notifyTabletInfo();
}

void NVDevUSB::tabletUnusable()
{
    if (usbDevice_) {
        givenUp_.insert(usbDevice_->logId());
        nv_log("NVDevUSB the tablet 0x%08x keeps failing: it is left alone until it is plugged in again",
               usbDevice_->logId());
    }
    forgetTablet();
    listen();
}

void NVDevUSB::retireHid()
{
    if (!hid_)
        return;
    // Released under the record it was pressed with, before anything replaces it.
    hid_->handler().resetState();
    hidWaiting_ = false;
    std::unique_ptr<NVDevHID> layer = std::move(hid_);
    if (!layer->isOpen())
        return;
    const NVDevHID* raw = layer.get();
    retiring_.push_back(std::move(layer));
    retiring_.back()->close([this, raw] { hidReleased(raw); });
}

void NVDevUSB::hidReleased(const NVDevHID* layer)
{
    std::erase_if(retiring_, [layer](const auto& l) { return l.get() == layer; });
    if (hidWaiting_)
        openHidWhenFree();
}

void NVDevUSB::openHidWhenFree()
{
    // A layer claiming while an earlier one still holds the interfaces would get BUSY,
    // and the late release would then hand them to the kernel's driver.
    hidWaiting_ = !retiring_.empty();
    if (!hidWaiting_ && hid_ && usbDevice_)
        hid_->listen(*usbDevice_);
}

void NVDevUSB::setCurrentDevice(UsbDeviceRef dev)
{
    if (usbDevice_ && usbDevice_ != dev)
        usbDevice_->close();
    usbDevice_ = std::move(dev);
}

int NVDevUSB::queryBatteryPower()
{
    if (!usbDevice_)
        return 0;
    uint8_t buffer[NV_USB_STRING_BUFFER];
    if (!read_string(*usbDevice_, kStringBattery, buffer))
        return 0;
    return buffer[2];
}

int NVDevUSB::queryBatteryPowerFromUI()
{
    const int level = queryBatteryPower();
    char text[16];
    std::snprintf(text, sizeof text, "%d", level);
    services_.center.post(nvNotificationQueryBatteryPowerForUI, NVPlistDict{{nvKeyCurrentPower, text}});
    return level;
}
