// Diagnostics of the platform layer and the libraries beneath it, for the program's trace log.
// They explain what happened; failures themselves are answered by return values. Lines are
// dropped while no sink is connected (the program connects one while its log is open).
#pragma once

#include <functional>
#include <string_view>

using PlatformTraceSink = std::function<void(std::u16string_view line)>;

// Connects the sink (an empty function disconnects it). It may be called from any thread,
// one line at a time, and must not call PlatformTrace itself.
void SetPlatformTraceSink(PlatformTraceSink sink);

void PlatformTrace(std::u16string_view line);
