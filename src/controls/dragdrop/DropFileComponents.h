// Dragging files out and taking files dropped in. Names are full paths in UTF-8.
#pragma once

#include "controls/dragdrop/DropSource.h"
#include "controls/dragdrop/DropTarget.h"
#include "controls/dragdrop/FileFormats.h"

// Offers the files as the drop-files list (text/uri-list on the desktop, so a file manager
// copies them), the shell's ID lists and the single-name formats; the name maps too when set.
class TDropFileSource : public TCustomDropMultiSource {
public:
    explicit TDropFileSource(TComponent* owner);
    std::string_view ClassName() const override { return "TDropFileSource"; }

    TStrings& Files() { return files_.Files(); }
    TStrings& MappedNames() { return maps_.FileMaps(); }
    void SetFiles(const TStrings& files) { files_.Files().Assign(&files); }
    void SetMappedNames(const TStrings& names) { maps_.FileMaps().Assign(&names); }

private:
    TFileDataFormat& files_;
    TFileMapDataFormat& maps_;
};

class TDropFileTarget : public TCustomDropMultiTarget {
public:
    explicit TDropFileTarget(TComponent* owner);
    std::string_view ClassName() const override { return "TDropFileTarget"; }

    const TStrings& Files() { return files_.Files(); }
    const TStrings& MappedNames() { return maps_.FileMaps(); }
    // The source's preference, or copy.
    DWORD GetPreferredDropEffect() override;

private:
    TFileDataFormat& files_;
    TFileMapDataFormat& maps_;
};
