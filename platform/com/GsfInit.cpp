#include "platform/com/GsfInit.h"

#include <mutex>
#include <string>

// Before GLib's headers, whose TRUE and FALSE macros would clash with our constants.
#include "platform/win/PlatformTrace.h"
#include "platform/win/WinString.h"

#include <gsf/gsf-utils.h>

namespace {

void TraceGsfMessage(const gchar* domain, GLogLevelFlags, const gchar* message, gpointer)
{
    std::string line(domain ? domain : "libgsf");
    line.append(": ").append(message ? message : "");
    PlatformTrace(Utf8ToUtf16(line));
}

}  // namespace

void InitGsf()
{
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        // Only libgsf's own domains: GLib's other messages keep their default handling.
        constexpr auto kLevels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING |
                                                             G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO |
                                                             G_LOG_LEVEL_DEBUG);
        for (const char* domain : {"libgsf:msole", "libgsf"}) g_log_set_handler(domain, kLevels, TraceGsfMessage, nullptr);
    });
}
