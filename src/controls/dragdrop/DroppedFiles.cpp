#include "controls/dragdrop/DroppedFiles.h"

std::vector<WideString> DroppedFileNames(HDROP drop) {
    std::vector<WideString> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // As long as the name is: no fixed limit.
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        WideString path(length + 1, u'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        if (!path.empty()) paths.push_back(std::move(path));
    }
    return paths;
}
