#include "agent/WorkspaceSelection.h"

#include "core/log/NVLog.h"
#include "platform/sim/FakeWorkspace.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Kinds = std::vector<NVWorkspaceKind>;
using K = NVWorkspaceKind;

TEST(WorkspaceSelection, CandidatesFollowTheSessionTypeAndDesktop)
{
    // An X11 session keeps X11, even with a nested Wayland compositor's variable around.
    EXPECT_EQ(nv_workspace_candidates({"x11", "KDE", "wayland-1", ""}), Kinds{});
    EXPECT_EQ(nv_workspace_candidates({"", "", "", ""}), Kinds{});
    EXPECT_EQ(nv_workspace_candidates({"tty", "", "", ""}), Kinds{});

    EXPECT_EQ(nv_workspace_candidates({"wayland", "KDE", "wayland-0", ""}), (Kinds{K::KWin, K::Wlroots}));
    EXPECT_EQ(nv_workspace_candidates({"wayland", "ubuntu:GNOME", "wayland-0", ""}), (Kinds{K::Gnome, K::Wlroots}));
    EXPECT_EQ(nv_workspace_candidates({"Wayland", "gnome-classic:gnome", "", ""}), (Kinds{K::Gnome, K::Wlroots}));
    // Started from a console: the compositor's own variables say it is Wayland.
    EXPECT_EQ(nv_workspace_candidates({"tty", "", "wayland-1", "/run/user/1000/sway-ipc.sock"}),
              (Kinds{K::Sway, K::Wlroots}));
    EXPECT_EQ(nv_workspace_candidates({"wayland", "sway", "wayland-1", "/s"}), (Kinds{K::Sway, K::Wlroots}));
    EXPECT_EQ(nv_workspace_candidates({"wayland", "Hyprland", "wayland-1", ""}), Kinds{K::Wlroots});
}

TEST(WorkspaceSelection, TheFirstAdapterThatAnswersIsUsedElseX11WithOneLine)
{
    std::vector<K> tried;
    FakeWorkspace* made = nullptr;
    auto opener = [&](std::vector<K> answering) {
        return [&tried, &made, answering](K kind) -> std::unique_ptr<Workspace> {
            tried.push_back(kind);
            if (std::find(answering.begin(), answering.end(), kind) == answering.end())
                return nullptr;
            auto ws = std::make_unique<FakeWorkspace>();
            made = ws.get();
            return ws;
        };
    };

    NVLogCapture log;
    auto ws = nv_open_workspace({"wayland", "sway", "wayland-1", "/s"}, opener({K::Wlroots, K::X11}));
    EXPECT_EQ(ws.get(), made);
    EXPECT_EQ(tried, (Kinds{K::Sway, K::Wlroots}));
    EXPECT_EQ(log.count("frontmost application from the wlroots foreign toplevels"), 1u);

    tried.clear();
    log.clear();
    ws = nv_open_workspace({"wayland", "KDE", "wayland-0", ""}, opener({K::X11}));
    EXPECT_EQ(ws.get(), made);
    EXPECT_EQ(tried, (Kinds{K::KWin, K::Wlroots, K::X11}));
    EXPECT_EQ(log.count("no frontmost-application adapter of this Wayland desktop (KDE) answers"), 1u);
    EXPECT_EQ(log.lines().size(), 1u);

    tried.clear();
    log.clear();
    ws = nv_open_workspace({"x11", "XFCE", "", ""}, opener({K::X11}));
    EXPECT_EQ(tried, Kinds{K::X11});
    EXPECT_TRUE(log.lines().empty());
}

} // namespace
