#include "ui/TempFolderCleanup.h"

#include <filesystem>
#include <system_error>

#include "app/cLogger.h"
#include "platform/win/PrivateFolder.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

void CleanUpTempFolder(const WideString& tempFolder)
{
    namespace fs = std::filesystem;
    if (tempFolder.empty()) return;
    if (!IsPrivateFolder(tempFolder)) {
        LogPrintf(u"temporary folder left alone (error %u): %s", static_cast<unsigned>(GetLastError()),
                  tempFolder.c_str());
        return;
    }
    const fs::path folder = fs::path(Utf16ToUtf8(tempFolder)).lexically_normal();
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code e;
        // A link goes as a link: what it points at is never reached.
        if (!fs::is_directory(it->symlink_status(e))) fs::remove(it->path(), e);
    }
    fs::remove(folder, error);
}
