#include "platform/shell/OpenWith.h"

#include "platform/win/WinString.h"

namespace {

OpenWithChooser& Chooser()
{
    static OpenWithChooser chooser;
    return chooser;
}

}  // namespace

void SetOpenWithChooser(OpenWithChooser chooser) { Chooser() = std::move(chooser); }

bool AskDesktopToOpenWith(const WideString& path)
{
    const OpenWithChooser& chooser = Chooser();
    return chooser && !path.empty() && chooser(Utf16ToUtf8(path));
}
