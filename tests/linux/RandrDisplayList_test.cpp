// The RandR adapter against a private Xvfb whose monitors are set with xrandr.
#include "platform/linux/RandrDisplayList.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

bool on_path(const char* program)
{
    const std::string cmd = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

// An Xvfb of its own; -noreset keeps monitors set by short-lived clients. A display number
// away from the low ones that shared test runs take.
class PrivateXvfb {
public:
    PrivateXvfb()
    {
        const int first = 300 + getpid() % 400;
        for (int n = first; n < first + 10 && display_.empty(); ++n)
            if (access(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), F_OK) != 0)
                start(n);
    }
    ~PrivateXvfb()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

    bool xrandr(const std::string& args) const
    {
        const std::string cmd = "DISPLAY=" + display_ + " xrandr " + args + " >/dev/null 2>&1";
        return std::system(cmd.c_str()) == 0;
    }

private:
    // Xvfb writes the display number to the pipe once it accepts connections.
    void start(int n)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string display = ":" + std::to_string(n), fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "4000x1200x24",
                   "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The number and its newline may come in separate writes; closing the pipe
        // between them would make the server give up.
        std::string line;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            line += c;
        close(fds[0]);
        if (!line.empty()) {
            display_ = ":" + std::to_string(n);
            return;
        }
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    pid_t pid_ = -1;
    std::string display_;
};

// Waits for the connection to become readable, then lets the adapter read the events.
void pump(RandrDisplayList& list)
{
    pollfd p{list.fd(), POLLIN, 0};
    while (poll(&p, 1, 300) > 0)
        ASSERT_TRUE(list.dispatchEvents());
}

} // namespace

TEST(RandrDisplayList, MonitorsInServerOrderAndOneRefreshPerChange)
{
    if (!on_path("Xvfb") || !on_path("xrandr"))
        GTEST_SKIP() << "Xvfb or xrandr missing";
    PrivateXvfb x;
    ASSERT_FALSE(x.display().empty());
    auto list = RandrDisplayList::open(x.display().c_str());
    ASSERT_TRUE(list) << x.display();
    int refreshes = 0;
    list->setReconfigurationHandler([&] { ++refreshes; });

    // Taking the screen's output into A retires the server's automatic monitor. Monitor
    // definitions alone send no events; a mode change of the output below does.
    ASSERT_TRUE(x.xrandr("--setmonitor A 1920/500x1080/300+0+0 screen"));
    ASSERT_TRUE(x.xrandr("--setmonitor B 1280/300x1024/250+1920+0 none"));
    std::vector<NVDisplayInfo> d;
    ASSERT_TRUE(list->activeDisplays(d));
    ASSERT_EQ(d.size(), 2u);
    EXPECT_DOUBLE_EQ(d[0].bounds.width, 1920);
    EXPECT_DOUBLE_EQ(d[1].bounds.x, 1920);
    EXPECT_DOUBLE_EQ(d[1].bounds.height, 1024);
    EXPECT_NE(d[0].id, d[1].id);

    ASSERT_TRUE(x.xrandr("--setmonitor C 800/200x600/150+3200+0 none"));
    ASSERT_TRUE(list->activeDisplays(d));
    ASSERT_EQ(d.size(), 3u);
    EXPECT_DOUBLE_EQ(d[2].bounds.x, 3200);
    EXPECT_DOUBLE_EQ(d[2].bounds.width, 800);

    ASSERT_TRUE(x.xrandr("--newmode m3000 10 3000 3001 3002 3003 1200 1201 1202 1203"));
    ASSERT_TRUE(x.xrandr("--addmode screen m3000"));
    pump(*list);
    refreshes = 0;
    ASSERT_TRUE(x.xrandr("--output screen --mode m3000"));
    pump(*list);
    EXPECT_EQ(refreshes, 1);
    ASSERT_TRUE(x.xrandr("--delmonitor B"));
    ASSERT_TRUE(list->activeDisplays(d));
    ASSERT_EQ(d.size(), 2u);
    EXPECT_DOUBLE_EQ(d[1].bounds.x, 3200);
}

TEST(RandrDisplayList, NoServerGivesNoAdapter)
{
    EXPECT_FALSE(RandrDisplayList::open(":4987"));
}

TEST(RandrDisplayList, LostServerIsReportedAndTheListRefused)
{
    if (!on_path("Xvfb"))
        GTEST_SKIP() << "Xvfb missing";
    auto x = std::make_unique<PrivateXvfb>();
    ASSERT_FALSE(x->display().empty());
    auto list = RandrDisplayList::open(x->display().c_str());
    ASSERT_TRUE(list);
    x.reset();
    pollfd p{list->fd(), POLLIN, 0};
    ASSERT_GT(poll(&p, 1, 2000), 0);
    EXPECT_FALSE(list->dispatchEvents());
    std::vector<NVDisplayInfo> d;
    EXPECT_FALSE(list->activeDisplays(d));
}
