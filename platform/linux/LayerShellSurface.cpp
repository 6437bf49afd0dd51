#include "platform/linux/LayerShellSurface.h"

#include "core/log/NVLog.h"

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

// The generated header names a request's argument "namespace", which C++ reserves.
#define namespace namespace_
#include "protocols/wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
#include "protocols/xdg-output-unstable-v1-client-protocol.h"

namespace {

constexpr size_t kBuffersPerSize = 2;
// The compositor answers the first commit at once; a few more rounds cover one that
// configures in steps.
constexpr int kConfigureRounds = 4;
constexpr uint32_t kAnchor = ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                             ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;

} // namespace

// The protocol's callbacks, which see the surface's state.
struct LayerShellListeners {
    using Output = LayerShellSurface::Output;
    using Buffer = LayerShellSurface::Buffer;

    template <typename T>
    static T* bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t version)
    {
        return static_cast<T*>(wl_registry_bind(registry, name, interface, version));
    }

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
    {
        auto* s = static_cast<LayerShellSurface*>(data);
        const std::string_view iface(interface);
        if (iface == wl_compositor_interface.name && !s->compositor_) {
            s->compositorVersion_ = std::min(version, 4u);
            s->compositor_ = bind<wl_compositor>(registry, name, &wl_compositor_interface, s->compositorVersion_);
        } else if (iface == wl_shm_interface.name && !s->shm_) {
            s->shm_ = bind<wl_shm>(registry, name, &wl_shm_interface, 1);
        } else if (iface == zwlr_layer_shell_v1_interface.name && !s->layerShell_) {
            s->layerShell_ =
                bind<zwlr_layer_shell_v1>(registry, name, &zwlr_layer_shell_v1_interface, std::min(version, 3u));
        } else if (iface == zxdg_output_manager_v1_interface.name && !s->xdgOutputs_ && version >= 2) {
            s->xdgOutputs_ = bind<zxdg_output_manager_v1>(registry, name, &zxdg_output_manager_v1_interface, 2);
            for (const auto& o : s->outputs_)
                s->nameOutput(*o);
        } else if (iface == wl_output_interface.name) {
            auto* output = bind<wl_output>(registry, name, &wl_output_interface, std::min(version, 4u));
            s->outputs_.push_back(std::make_unique<Output>(Output{s, name, output, nullptr, {}, 1}));
            wl_output_add_listener(output, &outputListener, s->outputs_.back().get());
            s->nameOutput(*s->outputs_.back());
        }
    }
    // An output unplugged: a strip on it is closed by the compositor.
    static void globalRemove(void* data, wl_registry*, uint32_t name)
    {
        auto* s = static_cast<LayerShellSurface*>(data);
        std::erase_if(s->outputs_, [name](const auto& o) {
            if (o->global != name)
                return false;
            LayerShellSurface::releaseOutput(*o);
            return true;
        });
    }

    static void geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
                         int32_t)
    {
    }
    static void mode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
    static void outputDone(void*, wl_output*) {}
    static void scale(void* data, wl_output*, int32_t factor)
    {
        static_cast<Output*>(data)->scale = std::max(factor, 1);
    }
    static void outputName(void* data, wl_output*, const char* name) { static_cast<Output*>(data)->name = name; }
    static void description(void*, wl_output*, const char*) {}

    static void logicalPosition(void*, zxdg_output_v1*, int32_t, int32_t) {}
    static void logicalSize(void*, zxdg_output_v1*, int32_t, int32_t) {}
    static void xdgDone(void*, zxdg_output_v1*) {}
    static void xdgName(void* data, zxdg_output_v1*, const char* name)
    {
        // wl_output's own name wins where both tell it.
        auto* o = static_cast<Output*>(data);
        if (o->name.empty())
            o->name = name;
    }
    static void xdgDescription(void*, zxdg_output_v1*, const char*) {}

    static void configure(void* data, zwlr_layer_surface_v1* surface, uint32_t serial, uint32_t width, uint32_t height)
    {
        auto* s = static_cast<LayerShellSurface*>(data);
        zwlr_layer_surface_v1_ack_configure(surface, serial);
        s->canvas_.width = width ? width : s->placement_.width;
        s->canvas_.height = height ? height : s->placement_.height;
        s->configured_ = true;
    }
    static void closed(void* data, zwlr_layer_surface_v1*)
    {
        auto* s = static_cast<LayerShellSurface*>(data);
        s->closed_ = true;
        s->destroySurface();
    }

    static void release(void* data, wl_buffer*)
    {
        auto* b = static_cast<Buffer*>(data);
        b->owner->released(b);
    }

    static constexpr wl_registry_listener registryListener{global, globalRemove};
    static constexpr wl_output_listener outputListener{geometry, mode, outputDone, scale, outputName, description};
    static constexpr zxdg_output_v1_listener xdgOutputListener{logicalPosition, logicalSize, xdgDone, xdgName,
                                                               xdgDescription};
    static constexpr zwlr_layer_surface_v1_listener layerSurfaceListener{configure, closed};
    static constexpr wl_buffer_listener bufferListener{release};
};

std::unique_ptr<LayerShellSurface> LayerShellSurface::open(const char* displayName)
{
    wl_display* display = wl_display_connect(displayName);
    if (!display)
        return nullptr;
    std::unique_ptr<LayerShellSurface> s(new LayerShellSurface(display));
    s->registry_ = wl_display_get_registry(display);
    wl_registry_add_listener(s->registry_, &LayerShellListeners::registryListener, s.get());
    // The globals, then the outputs' names and scales.
    if (!s->roundtrip() || !s->layerShell_ || !s->compositor_ || !s->shm_ || !s->roundtrip())
        return nullptr;
    return s;
}

LayerShellSurface::LayerShellSurface(wl_display* display) : display_(display) {}

LayerShellSurface::~LayerShellSurface()
{
    destroySurface();
    for (const auto& b : buffers_)
        destroyBuffer(*b);
    for (const auto& o : outputs_)
        releaseOutput(*o);
    if (xdgOutputs_)
        zxdg_output_manager_v1_destroy(xdgOutputs_);
    if (layerShell_)
        zwlr_layer_shell_v1_destroy(layerShell_);
    if (shm_)
        wl_shm_destroy(shm_);
    if (compositor_)
        wl_compositor_destroy(compositor_);
    if (registry_)
        wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
}

int LayerShellSurface::fd() const
{
    return wl_display_get_fd(display_);
}

bool LayerShellSurface::dispatch()
{
    if (!connected_)
        return false;
    bool ok = true;
    if (wl_display_prepare_read(display_) == 0)
        ok = wl_display_read_events(display_) == 0;
    ok = wl_display_dispatch_pending(display_) >= 0 && ok;
    if (!ok || (wl_display_flush(display_) < 0 && errno != EAGAIN)) {
        lost("reading");
        return false;
    }
    return true;
}

bool LayerShellSurface::roundtrip()
{
    if (connected_ && wl_display_roundtrip(display_) >= 0)
        return true;
    lost("waiting for the compositor");
    return false;
}

void LayerShellSurface::lost(const char* why)
{
    if (!connected_)
        return;
    connected_ = false;
    const int error = wl_display_get_error(display_);
    nv_log("LayerShellSurface: the Wayland connection was lost while %s: %s", why, std::strerror(error));
}

void LayerShellSurface::nameOutput(Output& output)
{
    // wl_output names itself from version 4; older compositors name it through xdg-output.
    if (output.xdgOutput || !xdgOutputs_ ||
        wl_proxy_get_version(reinterpret_cast<wl_proxy*>(output.output)) >= WL_OUTPUT_NAME_SINCE_VERSION)
        return;
    output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(xdgOutputs_, output.output);
    zxdg_output_v1_add_listener(output.xdgOutput, &LayerShellListeners::xdgOutputListener, &output);
}

std::vector<std::string> LayerShellSurface::outputs() const
{
    std::vector<std::string> names;
    for (const auto& o : outputs_)
        names.push_back(o->name);
    return names;
}

std::optional<LayerShellSurface::Canvas> LayerShellSurface::place(const Placement& placement)
{
    if (!connected_)
        return std::nullopt;
    const Output* output = nullptr;
    if (!placement.output.empty()) {
        const auto it = std::find_if(outputs_.begin(), outputs_.end(),
                                     [&](const auto& o) { return o->name == placement.output; });
        if (it == outputs_.end())
            return std::nullopt;
        output = it->get();
    }
    if (layerSurface_ && placement == placement_ && configured_) {
        canvas_.scale = surfaceScale_;
        return canvas_;
    }

    destroySurface();
    placement_ = placement;
    closed_ = false;
    configured_ = false;
    surface_ = wl_compositor_create_surface(compositor_);
    // An empty input region: the pointer reaches whatever lies below.
    wl_region* region = wl_compositor_create_region(compositor_);
    wl_surface_set_input_region(surface_, region);
    wl_region_destroy(region);
    surfaceScale_ = output && compositorVersion_ >= WL_SURFACE_SET_BUFFER_SCALE_SINCE_VERSION ? output->scale : 1;
    if (surfaceScale_ > 1)
        wl_surface_set_buffer_scale(surface_, surfaceScale_);
    layerSurface_ = zwlr_layer_shell_v1_get_layer_surface(layerShell_, surface_, output ? output->output : nullptr,
                                                          ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "nuvro-tip");
    ++surfacesMade_;
    zwlr_layer_surface_v1_add_listener(layerSurface_, &LayerShellListeners::layerSurfaceListener, this);
    zwlr_layer_surface_v1_set_size(layerSurface_, placement.width, placement.height);
    zwlr_layer_surface_v1_set_anchor(layerSurface_, kAnchor);
    zwlr_layer_surface_v1_set_margin(layerSurface_, 0, 0, placement.bottomMargin, 0);
    zwlr_layer_surface_v1_set_exclusive_zone(layerSurface_, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layerSurface_,
                                                     ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    wl_surface_commit(surface_);
    for (int i = 0; i < kConfigureRounds && !configured_ && !closed_; ++i)
        if (!roundtrip())
            return std::nullopt;
    if (!configured_ || closed_ || canvas_.width == 0 || canvas_.height == 0)
        return std::nullopt;
    canvas_.scale = surfaceScale_;
    return canvas_;
}

bool LayerShellSurface::show(const uint8_t* pixels, int width, int height, int stride)
{
    if (!connected_ || !layerSurface_ || !configured_ || width <= 0 || height <= 0 || width % surfaceScale_ != 0 ||
        height % surfaceScale_ != 0 || stride < width * 4)
        return false;
    waiting_.clear();
    if (Buffer* b = freeBuffer(width, height)) {
        draw(*b, pixels, stride);
        return true;
    }
    waiting_.resize(static_cast<size_t>(width) * 4 * height);
    waitingWidth_ = width;
    waitingHeight_ = height;
    for (int y = 0; y < height; ++y)
        std::memcpy(waiting_.data() + static_cast<size_t>(y) * width * 4, pixels + static_cast<ptrdiff_t>(y) * stride,
                    static_cast<size_t>(width) * 4);
    return true;
}

void LayerShellSurface::draw(Buffer& b, const uint8_t* pixels, int stride)
{
    for (int y = 0; y < b.height; ++y)
        std::memcpy(b.data + static_cast<size_t>(y) * b.width * 4, pixels + static_cast<ptrdiff_t>(y) * stride,
                    static_cast<size_t>(b.width) * 4);
    wl_surface_attach(surface_, b.buffer, 0, 0);
    wl_surface_damage(surface_, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(surface_);
    b.busy = true;
    if (wl_display_flush(display_) < 0 && errno != EAGAIN)
        lost("drawing");
}

LayerShellSurface::Buffer* LayerShellSurface::freeBuffer(int width, int height)
{
    // Free buffers of an old size go; busy ones wait for their release.
    std::erase_if(buffers_, [&](const auto& b) {
        if (b->busy || (b->width == width && b->height == height))
            return false;
        destroyBuffer(*b);
        return true;
    });
    size_t ofSize = 0;
    for (const auto& b : buffers_) {
        if (b->width != width || b->height != height)
            continue;
        if (!b->busy)
            return b.get();
        ++ofSize;
    }
    if (ofSize >= kBuffersPerSize)
        return nullptr;

    const int stride = width * 4;
    const size_t size = static_cast<size_t>(stride) * height;
    const int fd = memfd_create("nuvro-layer-shell", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    void* data = ftruncate(fd, static_cast<off_t>(size)) == 0
                     ? mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                     : MAP_FAILED;
    if (data == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<int32_t>(size));
    auto b = std::make_unique<Buffer>(Buffer{this});
    b->buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    b->data = static_cast<uint8_t*>(data);
    b->size = size;
    b->width = width;
    b->height = height;
    wl_buffer_add_listener(b->buffer, &LayerShellListeners::bufferListener, b.get());
    buffers_.push_back(std::move(b));
    return buffers_.back().get();
}

void LayerShellSurface::released(Buffer* buffer)
{
    buffer->busy = false;
    if (waiting_.empty() || !layerSurface_ || !configured_)
        return;
    const std::vector<uint8_t> pixels = std::move(waiting_);
    show(pixels.data(), waitingWidth_, waitingHeight_, waitingWidth_ * 4);
}

void LayerShellSurface::hide()
{
    destroySurface();
    if (connected_ && wl_display_flush(display_) < 0 && errno != EAGAIN)
        lost("hiding");
}

void LayerShellSurface::destroySurface()
{
    waiting_.clear();
    configured_ = false;
    if (layerSurface_)
        zwlr_layer_surface_v1_destroy(layerSurface_);
    if (surface_)
        wl_surface_destroy(surface_);
    layerSurface_ = nullptr;
    surface_ = nullptr;
    // A buffer the gone surface showed is let go rather than waited for.
    std::erase_if(buffers_, [](const auto& b) {
        if (!b->busy)
            return false;
        destroyBuffer(*b);
        return true;
    });
}

void LayerShellSurface::destroyBuffer(Buffer& b)
{
    wl_buffer_destroy(b.buffer);
    munmap(b.data, b.size);
}

void LayerShellSurface::releaseOutput(Output& o)
{
    if (o.xdgOutput)
        zxdg_output_v1_destroy(o.xdgOutput);
    if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(o.output)) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
        wl_output_release(o.output);
    else
        wl_output_destroy(o.output);
}
