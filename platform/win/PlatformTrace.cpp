#include "platform/win/PlatformTrace.h"

#include <mutex>

namespace {

struct TraceState {
    std::mutex mutex;
    PlatformTraceSink sink;
};

TraceState& State()
{
    static TraceState state;
    return state;
}

}  // namespace

void SetPlatformTraceSink(PlatformTraceSink sink)
{
    TraceState& state = State();
    const std::lock_guard lock(state.mutex);
    state.sink = std::move(sink);
}

void PlatformTrace(std::u16string_view line)
{
    TraceState& state = State();
    const std::lock_guard lock(state.mutex);
    if (state.sink) state.sink(line);
}
