// Reads arbitrary bytes as a stored shell place ("Pidl" of a form file) and as a bare item ID
// list, checking that what is read survives a round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "controls/shell/RzShellLocator.h"
#include "platform/shell/ShellIdList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (auto list = ShellIdList::FromBytes({data, size})) {
        if (ShellIdList::FromBytes(list->Bytes()) != list) std::abort();
    }
    TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<std::int64_t>(size));
    stream.SetPosition(0);
    TRzShellLocator locator;
    try {
        locator.ReadPidl(stream);
    } catch (const EReadError&) {
        return 0;
    }
    TMemoryStream again;
    locator.WritePidl(again);
    again.SetPosition(0);
    TRzShellLocator back;
    back.ReadPidl(again);
    if (!back.IsEqual(locator)) std::abort();
    return 0;
}
