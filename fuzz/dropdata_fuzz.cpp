// Reads arbitrary bytes as drop data from another process: drop-files lists, shell ID-list
// arrays and file group descriptors, checking what is read survives a round trip; and the
// same bytes as the global block of each clipboard format a drop target reads.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "controls/dragdrop/DragDropComponent.h"
#include "controls/dragdrop/FeedbackFormats.h"
#include "controls/dragdrop/FileFormats.h"
#include "controls/dragdrop/PidlFormats.h"
#include "platform/com/DropFilesBlock.h"
#include "platform/com/FileGroupDescriptor.h"
#include "platform/shell/IdListArray.h"

namespace {

void ReadAsGlobal(TClipboardFormat& format, std::span<const std::uint8_t> input) {
    STGMEDIUM medium;
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, input.size());
    if (!medium.hGlobal) return;
    if (!input.empty()) std::memcpy(GlobalLock(medium.hGlobal), input.data(), input.size());
    GlobalUnlock(medium.hGlobal);
    format.GetDataFromMedium(nullptr, medium);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    const std::vector<WideString> files = ReadDropFilesBlock(input);
    if (!files.empty() && ReadDropFilesBlock(BuildDropFilesBlock(files, true)) != files) std::abort();
    if (auto array = ReadIdListArray(input)) {
        const auto back = ReadIdListArray(BuildIdListArray(*array));
        if (!back || back->items != array->items) std::abort();
    }
    (void)ReadFileGroupDescriptorNames(input, true);
    (void)ReadFileGroupDescriptorNames(input, false);

    DragDropStartup();
    std::unique_ptr<TClipboardFormat> formats[] = {
        std::make_unique<TFileClipboardFormat>(), std::make_unique<TPIDLClipboardFormat>(),
        std::make_unique<TAnsiFilenameMapClipboardFormat>(), std::make_unique<TUnicodeFilenameMapClipboardFormat>(),
        std::make_unique<TUnicodeFilenameClipboardFormat>(), std::make_unique<TPerformedDropEffectClipboardFormat>(),
        std::make_unique<TTargetCLSIDClipboardFormat>(), std::make_unique<TCSVClipboardFormat>()};
    for (auto& format : formats) ReadAsGlobal(*format, input);
    return 0;
}
