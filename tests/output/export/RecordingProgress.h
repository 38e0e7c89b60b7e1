// A stand-in for the export manager's window: records status texts, boxes and reports, and
// can press Cancel after a number of pumps.
#pragma once

#include <string>
#include <vector>

#include "output/export/ExportOpts.h"
#include "platform/win/WinString.h"

namespace testsupport {

class RecordingProgress : public IExportProgress {
public:
    void ShowStatus(const WideString& text) override { statuses.push_back(Utf16ToUtf8(text)); }
    void InvalidateProgress() override { percents.push_back(opts ? opts->progressPercent : -1); }
    void ProcessMessages() override {
        if (opts && ++pumps == cancelAfterPumps) opts->stopRequested = true;
    }
    void ShowBox(const WideString& text, const WideString& caption, TExportBoxIcon) override {
        boxes.push_back(Utf16ToUtf8(caption) + ": " + Utf16ToUtf8(text));
    }
    void OpenReport(const WideString& path) override { opened.push_back(Utf16ToUtf8(path)); }

    ExportOpts* opts = nullptr;  // the run's record, for Cancel and the percent
    int cancelAfterPumps = -1;
    int pumps = 0;
    std::vector<std::string> statuses;
    std::vector<int> percents;
    std::vector<std::string> boxes;
    std::vector<std::string> opened;
};

}  // namespace testsupport
