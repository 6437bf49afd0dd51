#include "core/log/NVLog.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <syslog.h>

namespace {

std::mutex g_mutex;
bool g_echo = false;
std::vector<std::string>* g_capture = nullptr;

} // namespace

void nv_log_open(const char* programName)
{
    openlog(programName, LOG_PID, LOG_USER);
}

void nv_log_set_echo(bool echo)
{
    std::lock_guard lock(g_mutex);
    g_echo = echo;
}

void nv_log(const char* fmt, ...)
{
    char buf[1024];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);

    std::lock_guard lock(g_mutex);
    if (g_capture) {
        g_capture->emplace_back(buf);
        return;
    }
    syslog(LOG_NOTICE, "%s", buf);
    if (g_echo)
        std::fprintf(stderr, "%s\n", buf);
}

NVLogCapture::NVLogCapture()
{
    std::lock_guard lock(g_mutex);
    g_capture = new std::vector<std::string>;
}

NVLogCapture::~NVLogCapture()
{
    std::lock_guard lock(g_mutex);
    delete g_capture;
    g_capture = nullptr;
}

std::vector<std::string> NVLogCapture::lines() const
{
    std::lock_guard lock(g_mutex);
    return *g_capture;
}

bool NVLogCapture::contains(const std::string& text) const
{
    return count(text) > 0;
}

size_t NVLogCapture::count(const std::string& text) const
{
    std::lock_guard lock(g_mutex);
    size_t n = 0;
    for (const auto& l : *g_capture)
        if (l.find(text) != std::string::npos)
            ++n;
    return n;
}

void NVLogCapture::clear()
{
    std::lock_guard lock(g_mutex);
    g_capture->clear();
}
