#include "agent/AgentOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// The value of "--name=value" or "--name value"; advances i past a separate value.
std::optional<std::string> value_of(const char* name, int argc, const char* const* argv, int& i)
{
    const size_t n = std::strlen(name);
    const char* a = argv[i];
    if (std::strncmp(a, name, n) != 0)
        return std::nullopt;
    if (a[n] == '=')
        return std::string(a + n + 1);
    if (a[n] == '\0' && i + 1 < argc)
        return std::string(argv[++i]);
    return std::nullopt;
}

} // namespace

std::optional<AgentOptions> nv_agent_options(int argc, const char* const* argv, std::string* error)
{
    AgentOptions o;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--simulate") == 0) {
            o.simulate = true;
        } else if (std::strncmp(a, "--simulate=", 11) == 0) {
            o.simulate = true;
            o.simulateModel = a + 11;
        } else if (std::strcmp(a, "--print-events") == 0) {
            o.printEvents = true;
        } else if (std::strcmp(a, "--self-test-hold") == 0) {
            o.selfTestHold = true;
            o.simulate = true;
        } else if (std::strcmp(a, "--feed-reports") == 0) {
            o.feedReports = true;
            o.simulate = true;
        } else if (std::strcmp(a, "--foreground") == 0) {
            o.foreground = true;
        } else if (std::strncmp(a, "--record", 8) == 0 && (a[8] == '\0' || a[8] == '=')) {
            auto v = value_of("--record", argc, argv, i);
            if (!v || v->empty()) {
                *error = "--record needs a file name";
                return std::nullopt;
            }
            o.recordPath = *v;
        } else if (std::strncmp(a, "--self-test-reports", 19) == 0 && (a[19] == '\0' || a[19] == '=')) {
            auto v = value_of("--self-test-reports", argc, argv, i);
            char* end = nullptr;
            errno = 0;
            const long n = v ? std::strtol(v->c_str(), &end, 10) : -1;
            if (!v || v->empty() || *end != '\0' || errno != 0 || n < 0) {
                *error = "--self-test-reports needs a count";
                return std::nullopt;
            }
            o.selfTestReports = n;
            o.simulate = true;
        }
    }
    return o;
}
