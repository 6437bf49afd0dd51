// Sets one output's scale on KWin through its output-management protocol, as the desktop's
// display settings do: `nv_kde_output_scale <output name> <scale>` on $WAYLAND_DISPLAY, or
// switches the output off with `off` for the scale.
// KWin's virtual backend takes one scale for all its outputs on the command line; the tests
// give a second output another one with this. Exits 0 once KWin has applied the change.
#include "protocols/kde-output-device-v2-client-protocol.h"
#include "protocols/kde-output-management-v2-client-protocol.h"

#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Device {
    kde_output_device_v2* proxy = nullptr;
    std::vector<kde_output_device_mode_v2*> modes;
    std::string name;
};

struct State {
    kde_output_management_v2* management = nullptr;
    std::vector<std::unique_ptr<Device>> devices;
    int result = -1; // -1 pending, 0 applied, 1 failed
};

template <typename... A> void ignore(void*, A...) {}

void device_name(void* data, kde_output_device_v2*, const char* name)
{
    static_cast<Device*>(data)->name = name;
}

void device_mode(void* data, kde_output_device_v2*, kde_output_device_mode_v2* mode)
{
    static_cast<Device*>(data)->modes.push_back(mode);
}

const kde_output_device_v2_listener kDeviceListener = {
    ignore<kde_output_device_v2*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t>,
    ignore<kde_output_device_v2*, kde_output_device_mode_v2*>,
    device_mode,
    ignore<kde_output_device_v2*>,
    ignore<kde_output_device_v2*, wl_fixed_t>,
    ignore<kde_output_device_v2*, const char*>,
    ignore<kde_output_device_v2*, int32_t>,
    ignore<kde_output_device_v2*, const char*>,
    ignore<kde_output_device_v2*, const char*>,
    ignore<kde_output_device_v2*, const char*>,
    ignore<kde_output_device_v2*, uint32_t>,
    ignore<kde_output_device_v2*, uint32_t>,
    ignore<kde_output_device_v2*, uint32_t>,
    ignore<kde_output_device_v2*, uint32_t>,
    device_name,
};

void global(void* data, wl_registry* registry, uint32_t id, const char* interface, uint32_t version)
{
    auto* state = static_cast<State*>(data);
    if (std::strcmp(interface, kde_output_management_v2_interface.name) == 0) {
        state->management = static_cast<kde_output_management_v2*>(
            wl_registry_bind(registry, id, &kde_output_management_v2_interface, 1));
    } else if (std::strcmp(interface, kde_output_device_v2_interface.name) == 0 && version >= 2) {
        auto device = std::make_unique<Device>();
        device->proxy =
            static_cast<kde_output_device_v2*>(wl_registry_bind(registry, id, &kde_output_device_v2_interface, 2));
        kde_output_device_v2_add_listener(device->proxy, &kDeviceListener, device.get());
        state->devices.push_back(std::move(device));
    }
}

const wl_registry_listener kRegistryListener = {global, ignore<wl_registry*, uint32_t>};

const kde_output_configuration_v2_listener kConfigurationListener = {
    [](void* data, kde_output_configuration_v2*) { static_cast<State*>(data)->result = 0; },
    [](void* data, kde_output_configuration_v2*) { static_cast<State*>(data)->result = 1; },
};

// The proxies, so that the leak checker of the sanitizer build sees none left.
void release(State& state, wl_registry* registry)
{
    for (const auto& d : state.devices) {
        for (auto* mode : d->modes)
            kde_output_device_mode_v2_destroy(mode);
        kde_output_device_v2_destroy(d->proxy);
    }
    if (state.management)
        kde_output_management_v2_destroy(state.management);
    wl_registry_destroy(registry);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output name> <scale>|off\n", argv[0]);
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    State state;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &state);
    // The globals, then the devices' descriptions.
    wl_display_roundtrip(display);
    wl_display_roundtrip(display);
    const Device* target = nullptr;
    for (const auto& d : state.devices)
        if (d->name == argv[1])
            target = d.get();
    if (!state.management || !target) {
        std::fprintf(stderr, "no output management or no output named %s\n", argv[1]);
        release(state, registry);
        wl_display_disconnect(display);
        return 1;
    }
    auto* configuration = kde_output_management_v2_create_configuration(state.management);
    kde_output_configuration_v2_add_listener(configuration, &kConfigurationListener, &state);
    if (std::strcmp(argv[2], "off") == 0)
        kde_output_configuration_v2_enable(configuration, target->proxy, 0);
    else
        kde_output_configuration_v2_scale(configuration, target->proxy, wl_fixed_from_double(std::atof(argv[2])));
    kde_output_configuration_v2_apply(configuration);
    while (state.result < 0 && wl_display_dispatch(display) >= 0) {
    }
    if (state.result != 0)
        std::fprintf(stderr, "KWin did not apply the change\n");
    kde_output_configuration_v2_destroy(configuration);
    release(state, registry);
    wl_display_disconnect(display);
    return state.result == 0 ? 0 : 1;
}
