// Dragging shell items (a folder and items in it) out and taking them in.
#pragma once

#include <optional>

#include "controls/dragdrop/DropSource.h"
#include "controls/dragdrop/DropTarget.h"
#include "controls/dragdrop/FileFormats.h"
#include "controls/dragdrop/PidlFormats.h"

class TDropPIDLSource : public TCustomDropMultiSource {
public:
    explicit TDropPIDLSource(TComponent* owner);
    std::string_view ClassName() const override { return "TDropPIDLSource"; }

    // Starts over with the folder the items are in.
    void CopyFolderPIDLToList(const ItemIdList& folder);
    // An item relative to the folder; raises before the folder is there.
    void CopyFilePIDLToList(const ItemIdList& item);
    TStrings& MappedNames() { return maps_.FileMaps(); }

private:
    TPIDLDataFormat& pidls_;
    TFileMapDataFormat& maps_;
};

class TDropPIDLTarget : public TCustomDropMultiTarget {
public:
    explicit TDropPIDLTarget(TComponent* owner);
    std::string_view ClassName() const override { return "TDropPIDLTarget"; }

    const TPIDLList& PIDLs() { return pidls_.PIDLs(); }
    // The folder's count included.
    int PIDLCount() { return pidls_.PIDLs().Count(); }
    std::optional<ItemIdList> FolderPIDL();
    // Items count from 1; none for an index outside them.
    std::optional<ItemIdList> RelativeFilePIDL(int index);
    std::optional<ItemIdList> AbsoluteFilePIDL(int index);
    std::vector<WideString> Filenames() { return pidls_.PIDLs().Filenames(); }
    const TStrings& MappedNames() { return maps_.FileMaps(); }
    DWORD GetPreferredDropEffect() override;

private:
    TPIDLDataFormat& pidls_;
    TFileMapDataFormat& maps_;
};
