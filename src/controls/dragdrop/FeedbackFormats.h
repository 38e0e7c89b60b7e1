// The feedback between source and target: the drop effect the source prefers, the effect the
// target performed, a paste that succeeded, whether the drag is still in its loop, and the class
// of the target; and the data format that gathers them.
#pragma once

#include "controls/dragdrop/DataFormat.h"
#include "controls/dragdrop/SimpleFormats.h"

#define DRAGDROP_DWORD_FORMAT(Class)                          \
    class Class : public TCustomDWORDClipboardFormat {        \
        DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)          \
    public:                                                   \
        CLIPFORMAT GetClipboardFormat() override;             \
    };

// "Preferred DropEffect", from source to target.
DRAGDROP_DWORD_FORMAT(TPreferredDropEffectClipboardFormat)
// "Performed DropEffect", written back by the target.
DRAGDROP_DWORD_FORMAT(TPerformedDropEffectClipboardFormat)
// "Logical Performed DropEffect", written back by the target.
DRAGDROP_DWORD_FORMAT(TLogicalPerformedDropEffectClipboardFormat)
// "Paste Succeeded", written back by a target that pasted.
DRAGDROP_DWORD_FORMAT(TPasteSucceededClipboardFormat)
// "InShellDragLoop", from source to target.
DRAGDROP_DWORD_FORMAT(TInShellDragLoopClipboardFormat)

#undef DRAGDROP_DWORD_FORMAT

// "TargetCLSID": the class id of the target, written back; not offered while null.
class TTargetCLSIDClipboardFormat : public TCustomSimpleClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    CLIPFORMAT GetClipboardFormat() override;
    CLSID Clsid{};
    void Clear() override { Clsid = CLSID{}; }
    bool HasData() override;

protected:
    bool ReadData(const std::uint8_t* data, std::size_t size) override;
    bool WriteData(std::uint8_t* data, std::size_t size) override;
    std::size_t GetSize() override { return 16; }
};

class TFeedbackDataFormat : public TCustomDataFormat {
    DRAGDROP_FORMAT_CLASS(TDataFormatClass)
public:
    using TCustomDataFormat::TCustomDataFormat;

    DWORD PreferredDropEffect() const { return preferred_; }
    DWORD PerformedDropEffect() const { return performed_; }
    DWORD LogicalPerformedDropEffect() const { return logicalPerformed_; }
    DWORD PasteSucceeded() const { return pasteSucceeded_; }
    bool InShellDragLoop() const { return inShellDragLoop_; }
    bool HasInShellDragLoop() const { return hasInShellDragLoop_; }
    const CLSID& TargetCLSID() const { return targetClsid_; }
    void SetPreferredDropEffect(DWORD value);
    void SetPerformedDropEffect(DWORD value);
    void SetLogicalPerformedDropEffect(DWORD value);
    void SetPasteSucceeded(DWORD value);
    void SetInShellDragLoop(bool value);
    void SetTargetCLSID(const CLSID& value);

    bool Assign(TClipboardFormat& source) override;
    bool AssignTo(TClipboardFormat& dest) override;
    // Keeps the paste result, the logical effect and the target class.
    void Clear() override;
    bool HasData() override;
    bool NeedsData() override;

private:
    DWORD preferred_ = 0, performed_ = 0, logicalPerformed_ = 0, pasteSucceeded_ = 0;
    bool inShellDragLoop_ = false, hasInShellDragLoop_ = false;
    CLSID targetClsid_{};
};
