// The overlay strip on real compositors: a headless Sway (seen through grim's screenshots),
// kwin_wayland --virtual, and a display of the test's own that offers no layer shell.
#include "platform/linux/LayerShellSurface.h"
#include "tests/linux/KWinTestSupport.h"
#include "tests/linux/ScreenshotSupport.h"
#include "tests/linux/SwayTestSupport.h"

#include "core/log/NVLog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <wayland-client.h>
#include <wayland-server.h>

namespace {

using nvtest::spin_until;

constexpr uint32_t kRed = 0xffff0000;
constexpr uint32_t kGreen = 0xff00ff00;
constexpr uint32_t kBlue = 0xff0000ff;

// Pixels of one colour, premultiplied ARGB32 as the surface takes them.
struct Pixels {
    Pixels(int w, int h, uint32_t argb) : width(w), height(h), data(static_cast<size_t>(w) * h, argb) {}
    bool show(LayerShellSurface& s) const
    {
        return s.show(reinterpret_cast<const uint8_t*>(data.data()), width, height, width * 4);
    }
    int width;
    int height;
    std::vector<uint32_t> data;
};

// Reads what the compositor sent for a while, as the agent's loop does.
bool pump_until(LayerShellSurface& s, const std::function<bool()>& done, int timeoutMs = 5000)
{
    return spin_until([&] {
        pollfd p{s.fd(), POLLIN, 0};
        if (poll(&p, 1, 0) > 0)
            s.dispatch();
        return done();
    }, timeoutMs);
}

bool focused(const nvtest::HeadlessSway& sway, qint64 pid)
{
    const auto node = nvtest::sway_window_of(sway, pid);
    return node.is_object() && node.value("focused", false);
}

// Two outputs: HEADLESS-1 of 1280x720 and HEADLESS-2 of 1920x1080 at scale 2 (960x540).
class LayerShellOnSway : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!nvtest::HeadlessSway::installed() || !nvtest::on_path("grim"))
            GTEST_SKIP() << "sway or grim is not installed";
        nvtest::qt_app();
        sway = std::make_unique<nvtest::HeadlessSway>("output HEADLESS-1 resolution 1280x720 position 0 0\n"
                                                      "default_border none\n");
        ASSERT_TRUE(sway->ok()) << "headless sway did not start";
        ASSERT_TRUE(sway->command("create_output"));
        ASSERT_TRUE(sway->command("output HEADLESS-2 mode 1920x1080 scale 2 position 1280 0"));
        surface = LayerShellSurface::open(sway->waylandDisplay().toLocal8Bit().constData());
        ASSERT_TRUE(surface);
    }

    nvtest::Screenshot shot(const char* output) const { return nvtest::screenshot(sway->waylandDisplay(), output); }

    // A window that fills the workspace of the output, focused.
    QProcess* window(const char* workspace)
    {
        sway->command(QString("workspace ") + workspace);
        windows.push_back(sway->client(NV_WAYLAND_WINDOW));
        QProcess* w = windows.back().get();
        EXPECT_TRUE(spin_until([&] { return focused(*sway, w->processId()); }, 10000));
        return w;
    }

    std::unique_ptr<nvtest::HeadlessSway> sway;
    std::unique_ptr<LayerShellSurface> surface;
    std::vector<std::unique_ptr<QProcess>> windows;
};

} // namespace

TEST_F(LayerShellOnSway, TheStripLiesAboveTheFocusedWindowOnTheAskedOutputWithoutTakingFocusOrClicks)
{
    const auto outputs = surface->outputs();
    EXPECT_NE(std::find(outputs.begin(), outputs.end(), "HEADLESS-1"), outputs.end());
    EXPECT_NE(std::find(outputs.begin(), outputs.end(), "HEADLESS-2"), outputs.end());

    // Two windows side by side on the scaled output, the left one focused.
    ASSERT_TRUE(sway->command("focus output HEADLESS-2"));
    QProcess* right = window("2");
    ASSERT_TRUE(sway->command("focus left"));
    QProcess* left = window("2");
    ASSERT_TRUE(sway->command("move left"));
    ASSERT_TRUE(spin_until([&] { return focused(*sway, left->processId()); }));

    const auto canvas = surface->place({"HEADLESS-2", 0, 50, 100});
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->width, 960u) << "the output's width in its logical pixels";
    EXPECT_EQ(canvas->height, 50u);
    EXPECT_EQ(canvas->scale, 2);
    ASSERT_TRUE(Pixels(1920, 100, kRed).show(*surface));

    // The strip in device pixels: 100 rows from 1080 - 200 - 100 on.
    nvtest::Screenshot second;
    ASSERT_TRUE(pump_until(*surface, [&] {
        second = shot("HEADLESS-2");
        return second.width == 1920 && second.rows(780, 880, kRed);
    }));
    EXPECT_FALSE(second.rows(770, 780, kRed)) << "nothing above the strip";
    EXPECT_FALSE(second.rows(880, 890, kRed)) << "the margin below the strip";
    EXPECT_FALSE(shot("HEADLESS-1").anywhere(kRed)) << "nothing on the other output";

    EXPECT_TRUE(focused(*sway, left->processId())) << "the strip takes no focus";
    // A click through the strip (rows 390 to 440 of the layout) onto the right window
    // reaches it: Sway focuses it.
    ASSERT_TRUE(sway->command("seat - cursor set 1980 415"));
    ASSERT_TRUE(sway->command("seat - cursor press button1"));
    ASSERT_TRUE(sway->command("seat - cursor release button1"));
    EXPECT_TRUE(spin_until([&] { return focused(*sway, right->processId()); }));
}

TEST_F(LayerShellOnSway, ANewTipReusesTheShownSurfaceAndTheLatestPixelsWinOverHeldBuffers)
{
    window("1");
    auto canvas = surface->place({"HEADLESS-1", 0, 50, 100});
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->width, 1280u);
    EXPECT_EQ(canvas->scale, 1);
    // Frames faster than the compositor gives buffers back: those with no free buffer wait,
    // and the last one is what shows once one is released.
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(Pixels(1280, 50, i % 2 ? kBlue : kRed).show(*surface));
    ASSERT_TRUE(Pixels(1280, 50, kGreen).show(*surface));
    ASSERT_TRUE(pump_until(*surface, [&] { return shot("HEADLESS-1").rows(570, 620, kGreen); }));

    canvas = surface->place({"HEADLESS-1", 0, 50, 100});
    ASSERT_TRUE(canvas);
    ASSERT_TRUE(Pixels(1280, 50, kRed).show(*surface));
    ASSERT_TRUE(pump_until(*surface, [&] { return shot("HEADLESS-1").rows(570, 620, kRed); }));
    EXPECT_EQ(surface->surfacesMade(), 1);

    // Hidden, then shown again: a new surface where the old one was.
    surface->hide();
    EXPECT_FALSE(Pixels(1280, 50, kRed).show(*surface)) << "nothing is placed";
    ASSERT_TRUE(pump_until(*surface, [&] { return !shot("HEADLESS-1").anywhere(kRed); }));
    ASSERT_TRUE(surface->place({"HEADLESS-1", 0, 50, 100}));
    ASSERT_TRUE(Pixels(1280, 50, kBlue).show(*surface));
    EXPECT_TRUE(pump_until(*surface, [&] { return shot("HEADLESS-1").rows(570, 620, kBlue); }));
    EXPECT_EQ(surface->surfacesMade(), 2);

    EXPECT_FALSE(surface->show(nullptr, 1280, 50, 1279 * 4)) << "a stride shorter than a row";
    EXPECT_FALSE(surface->place({"HEADLESS-9", 0, 50, 100})) << "an unknown output";
}

TEST_F(LayerShellOnSway, TheCompositorGoneIsLoggedOnceAndNothingIsShownAfter)
{
    ASSERT_TRUE(surface->place({"HEADLESS-1", 0, 50, 100}));
    ASSERT_TRUE(Pixels(1280, 50, kRed).show(*surface));
    NVLogCapture log;
    sway->kill();
    EXPECT_TRUE(pump_until(*surface, [&] { return !surface->isConnected(); }));
    EXPECT_FALSE(surface->dispatch());
    EXPECT_FALSE(Pixels(1280, 50, kRed).show(*surface));
    EXPECT_FALSE(surface->place({"HEADLESS-1", 0, 50, 100}));
    surface->hide();
    EXPECT_EQ(log.count("LayerShellSurface: the Wayland connection was lost"), 1u);
}

// KWin's layer shell takes the strip: two virtual outputs of 1280x720, the strip on the second.
TEST(LayerShellOnKWin, TheCompositorConfiguresTheStripOnTheAskedOutput)
{
    if (!nvtest::on_path("kwin_wayland") || !std::filesystem::exists("/usr/bin/kwin_wayland"))
        GTEST_SKIP() << "kwin_wayland missing (package kwin-wayland)";
    nvtest::PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty());
    nvtest::VirtualKWin kwin(bus.address());
    ASSERT_TRUE(kwin.start("nv-kwin-layer", 2)) << kwin.log().toStdString();
    auto surface = LayerShellSurface::open(kwin.waylandDisplay().toLocal8Bit().constData());
    ASSERT_TRUE(surface) << "no layer shell";
    const auto outputs = surface->outputs();
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_FALSE(outputs[1].empty()) << "outputs are named";

    const auto canvas = surface->place({outputs[1], 0, 50, 100});
    ASSERT_TRUE(canvas) << kwin.log().toStdString();
    EXPECT_EQ(canvas->width, 1280u);
    EXPECT_EQ(canvas->height, 50u);
    EXPECT_EQ(canvas->scale, 1);
    ASSERT_TRUE(Pixels(1280, 50, kRed).show(*surface));
    ASSERT_TRUE(surface->place({outputs[1], 0, 50, 100}));
    ASSERT_TRUE(Pixels(1280, 50, kBlue).show(*surface));
    surface->hide();
    // A protocol error in any of it would end the connection.
    pump_until(*surface, [] { return false; }, 500);
    EXPECT_TRUE(surface->isConnected()) << kwin.log().toStdString();
    EXPECT_EQ(surface->surfacesMade(), 1);
}

// An output switched off, as the desktop's display settings do: KWin closes the strip on it,
// and the next one goes on the output that remains.
TEST(LayerShellOnKWin, AnOutputSwitchedOffClosesTheStripAndTheNextGoesOnAnother)
{
    if (!nvtest::on_path("kwin_wayland") || !std::filesystem::exists("/usr/bin/kwin_wayland"))
        GTEST_SKIP() << "kwin_wayland missing (package kwin-wayland)";
#ifndef NV_KDE_OUTPUT_SCALE
    GTEST_SKIP() << "built without KDE's output-management protocol (package plasma-wayland-protocols)";
#else
    nvtest::PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty());
    nvtest::VirtualKWin kwin(bus.address());
    ASSERT_TRUE(kwin.start("nv-kwin-layer-off", 2)) << kwin.log().toStdString();
    auto surface = LayerShellSurface::open(kwin.waylandDisplay().toLocal8Bit().constData());
    ASSERT_TRUE(surface);
    const auto outputs = surface->outputs();
    ASSERT_EQ(outputs.size(), 2u);
    ASSERT_TRUE(surface->place({outputs[1], 0, 50, 100}));
    ASSERT_TRUE(Pixels(1280, 50, kRed).show(*surface));

    auto off = kwin.window(NV_KDE_OUTPUT_SCALE, {QString::fromStdString(outputs[1]), "off"});
    ASSERT_TRUE(off->process.waitForFinished(10000));
    ASSERT_EQ(off->process.exitCode(), 0) << kwin.log().toStdString();
    EXPECT_TRUE(pump_until(*surface, [&] { return !Pixels(1280, 50, kRed).show(*surface); }))
        << "KWin closed the strip";
    EXPECT_TRUE(surface->isConnected());
    EXPECT_FALSE(surface->place({outputs[1], 0, 50, 100}));

    const auto canvas = surface->place({outputs[0], 0, 50, 100});
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->width, 1280u);
    EXPECT_TRUE(Pixels(1280, 50, kRed).show(*surface));
    EXPECT_EQ(surface->surfacesMade(), 2);
#endif
}

// GNOME Shell offers no layer shell: the agent keeps its ordinary window there.
TEST(LayerShellOnGnomeShell, IsNull)
{
    if (!nvtest::HeadlessGnomeShell::installed())
        GTEST_SKIP() << "gnome-shell missing (package gnome-shell)";
    nvtest::HeadlessGnomeShell shell;
    ASSERT_TRUE(shell.start()) << shell.log().toStdString();
    const QString display = shell.waylandDisplay();
    wl_display* client = wl_display_connect(display.toLocal8Bit().constData());
    ASSERT_NE(client, nullptr) << "the shell's display answers";
    EXPECT_GE(wl_display_roundtrip(client), 0);
    wl_display_disconnect(client);
    EXPECT_EQ(LayerShellSurface::open(display.toLocal8Bit().constData()), nullptr);
}

// A Wayland display of the test's own with a compositor's usual globals but no layer shell,
// as GNOME's is.
TEST(LayerShellSurface, IsNullWithoutALayerShellOrADisplay)
{
    EXPECT_EQ(LayerShellSurface::open("/nonexistent/wayland-0"), nullptr);

    nvtest::TempDir dir;
    const std::string path = (dir.path() / "wayland-test").string();
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(fd, 4), 0);
    wl_display* display = wl_display_create();
    ASSERT_EQ(wl_display_add_socket_fd(display, fd), 0);
    ASSERT_EQ(wl_display_init_shm(display), 0);
    wl_global_create(display, &wl_compositor_interface, 4, nullptr,
                     [](wl_client* client, void*, uint32_t version, uint32_t id) {
                         wl_resource_create(client, &wl_compositor_interface, static_cast<int>(version), id);
                     });
    std::thread server([display] { wl_display_run(display); });

    EXPECT_EQ(LayerShellSurface::open(path.c_str()), nullptr);

    wl_display_terminate(display);
    server.join();
    wl_display_destroy(display);
}
