#include "tools/vcldemo/SelectFolderDemo.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <QCoreApplication>

#include "controls/shell/RzShellDialogs.h"
#include "platform/shell/qt/ShellIconsQt.h"
#include "platform/vcl/Forms.h"
#include "tools/vcldemo/DemoRun.h"

namespace {

namespace fs = std::filesystem;

}  // namespace

int RunSelectFolderDemo(const char* screenshot) {
    std::string pattern = (fs::temp_directory_path() / "vcldemo-folders-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::fprintf(stderr, "vcldemo: cannot make a temporary folder\n");
        return 1;
    }
    const fs::path root = fs::path(pattern) / "Exports";
    for (const char* d : {"2024/January", "2024/February", "2025/Quarterly reports/Second quarter of the year",
                          "Customers/Acme", "Customers/Globex"})
        fs::create_directories(root / d);
    InstallQtShellIcons();
    RegisterShellControls();
    Application->Initialize();
    int status = 0;
    {
        TRzSelectFolderDialog dialog(nullptr);
        dialog.SetTitle(u"Choose the export folder");
        dialog.SetOptions(kDefaultSelectFolderOptions + TRzSelectFolderDialogOptions{sfdoCreateDeleteButtons});
        TRzShellLocator base;
        base.SetPath(root.string());
        dialog.SetBaseFolder(&base);
        dialog.SelectedFolder()->SetPath((root / "2025/Quarterly reports/Second quarter of the year").string());
        TModalHook answer;
        if (screenshot) {
            answer = [&](TModalRequest& r) {
                if (r.What != TModalRequest::ModalForm) return 0;
                for (int i = 0; i < 10; ++i) {
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 25);
                    Application->ProcessMessages();
                }
                if (!SaveFormPicture(*r.Form, screenshot)) status = 1;
                return static_cast<int>(mrCancel);
            };
        }
        TScopedModalHook hook(answer);
        try {
            if (dialog.Execute()) std::printf("%s\n", dialog.SelectedFolder()->GetPath().c_str());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vcldemo: %s\n", e.what());
            status = 1;
        }
    }
    DoneApplication();
    std::error_code ec;
    fs::remove_all(pattern, ec);
    return status;
}
