// One place of the shell namespace, named by an item ID list or by a special-folder number.
// It tells its owner (OnChange) whenever the place changes and stores itself in form files
// as the binary value "Pidl".
#pragma once

#include <optional>

#include "platform/shell/ShellIdList.h"
#include "platform/vcl/Classes.h"
#include "platform/vcl/Streams.h"
#include "platform/vcl/TypInfo.h"

// The special-folder number of a locator that names a list.
inline constexpr int kNoSpecialFolder = 50;

class TRzShellLocator : public TPersistent {
    QUILLORA_PERSISTENT(TRzShellLocator)
public:

    // The place's list: the held list, or the special folder's (looked up once; the desktop
    // when the folder cannot be found).
    const ShellIdList& GetIdList() const;
    // Names the list (the desktop for an empty one). Fires OnChange when the place differs.
    void SetIdList(const ShellIdList& list);
    // Names a special folder (CSIDL_*).
    void SetSpecialFolder(int csidl);
    bool IsSpecialFolder() const { return special_; }
    int SpecialFolder() const { return number_; }
    // A path that cannot be parsed names the desktop.
    void SetPath(const AnsiString& path);
    // The place's file-system path (raw bytes); empty for a place without one.
    AnsiString GetPath() const;
    void Clear() { SetIdList(ShellIdList()); }
    bool IsEqual(const TRzShellLocator& other) const;
    // Null clears a held place; another locator's place is copied unless it is the same.
    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler* filer) override;

    // "Pidl": a mode byte; then the special-folder number (mode 1), or a 32-bit little-endian
    // byte count and the list's bytes (mode 0).
    void WritePidl(TStream& stream) const;
    // Raises EReadError for a count or list that does not fit the stream.
    void ReadPidl(TStream& stream);

    TNotifyEvent OnChange;

private:
    void Changed();
    bool Stored() const { return special_ || !list_.Empty(); }

    bool special_ = false;
    ShellIdList list_;  // mode 0: the place; the desktop when empty
    int number_ = kNoSpecialFolder;
    mutable std::optional<ShellIdList> specialCache_;
};
