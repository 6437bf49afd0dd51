// One strip on the overlay layer of a compositor that offers the wlr layer shell (wlroots
// compositors, KWin): anchored to the bottom, left and right edges of an output at a
// margin from the bottom, above every window, never given the keyboard, transparent to
// the pointer (an empty input region) and reserving no space. Drawn from the caller's
// premultiplied ARGB32 pixels through shared memory, on a Wayland connection of its own
// that the caller's event loop reads through fd() and dispatch().
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct wl_buffer;
struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_registry;
struct wl_shm;
struct wl_surface;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

class LayerShellSurface {
public:
    // Where the strip goes: width 0 spans the output.
    struct Placement {
        std::string output;
        uint32_t width = 0;
        uint32_t height = 0;
        int32_t bottomMargin = 0;
        bool operator==(const Placement&) const = default;
    };
    // What the compositor gave: the size in logical pixels and the output's scale; the
    // pixels shown are size times scale.
    struct Canvas {
        uint32_t width = 0;
        uint32_t height = 0;
        int32_t scale = 1;
    };

    // Null without a Wayland display (displayName null: $WAYLAND_DISPLAY) or when the
    // compositor offers no layer shell.
    static std::unique_ptr<LayerShellSurface> open(const char* displayName = nullptr);
    ~LayerShellSurface();
    LayerShellSurface(const LayerShellSurface&) = delete;
    LayerShellSurface& operator=(const LayerShellSurface&) = delete;

    // Readable when the compositor has sent something: call dispatch().
    int fd() const;
    // False once the connection is lost (logged once); nothing is shown after that.
    bool dispatch();
    bool isConnected() const { return connected_; }

    // The outputs by the names the compositor gives them, which Qt's screens carry.
    std::vector<std::string> outputs() const;

    // Makes the strip ready to show, reusing the layer surface while its placement stays
    // and the compositor keeps it, and waits for the compositor's size. Nullopt for an
    // unknown output, a surface the compositor closed at once, or a lost connection.
    std::optional<Canvas> place(const Placement& placement);
    // Shows premultiplied ARGB32 pixels, meant for the placed canvas times its scale (a
    // size that is not a multiple of the scale is refused); false when nothing is placed.
    // A buffer the compositor still reads is never written: with none free, the latest
    // pixels wait for the next one it releases.
    bool show(const uint8_t* pixels, int width, int height, int stride);
    // Unmaps the strip; the next place() maps it again on the same layer surface.
    void hide();
    // The layer surfaces made so far: a new one only for a new placement or after the
    // compositor closed the last.
    int surfacesMade() const { return surfacesMade_; }

    struct Output {
        LayerShellSurface* owner;
        uint32_t global;
        wl_output* output;
        zxdg_output_v1* xdgOutput = nullptr;
        std::string name;
        int32_t scale = 1;
    };
    struct Buffer {
        LayerShellSurface* owner;
        wl_buffer* buffer = nullptr;
        uint8_t* data = nullptr;
        size_t size = 0;
        int width = 0;
        int height = 0;
        bool busy = false;
    };

private:
    explicit LayerShellSurface(wl_display* display);
    bool roundtrip();
    void lost(const char* why);
    void nameOutput(Output& output);
    void destroySurface();
    Buffer* freeBuffer(int width, int height);
    void draw(Buffer& buffer, const uint8_t* pixels, int stride);
    void released(Buffer* buffer);
    static void destroyBuffer(Buffer& buffer);
    static void releaseOutput(Output& output);

    friend struct LayerShellListeners;
    wl_display* display_;
    wl_registry* registry_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    uint32_t compositorVersion_ = 0;
    wl_shm* shm_ = nullptr;
    zwlr_layer_shell_v1* layerShell_ = nullptr;
    zxdg_output_manager_v1* xdgOutputs_ = nullptr;
    std::vector<std::unique_ptr<Output>> outputs_;
    std::vector<std::unique_ptr<Buffer>> buffers_;
    bool connected_ = true;

    wl_surface* surface_ = nullptr;
    zwlr_layer_surface_v1* layerSurface_ = nullptr;
    Placement placement_;
    Canvas canvas_;
    int32_t surfaceScale_ = 1;
    bool configured_ = false;
    bool closed_ = false;
    int surfacesMade_ = 0;
    // The latest pixels while every buffer is held by the compositor.
    std::vector<uint8_t> waiting_;
    int waitingWidth_ = 0;
    int waitingHeight_ = 0;
};
