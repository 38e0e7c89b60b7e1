// Dragging favorites out of the pane and dropping files and favorites onto it.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "controls/dragdrop/DroppedFiles.h"
#include "controls/unicode/TntSysUtils.h"
#include "controls/unicode/TntTreeView.h"
#include "favorites/frmFavorites.h"
#include "favorites/MessageForFile.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/WinUser.h"
#include "platform/win/WinString.h"

WideString TfrmFavorites::MarkerPath() {
    const WideString folder = CAppUtils::getAppTempFolder();
    return folder.empty() ? WideString() : folder + u"3f06f605-b5a4-43ce-8d8c-343fe9329da6";
}

std::vector<WideString> TfrmFavorites::DragFiles() {
    std::vector<WideString> files;
    const TTntTreeView* tree = Tree();
    if (!tree) return files;
    std::ofstream marker;
    bool markerListed = false;
    // Depth first from 0: the tree's absolute index.
    int i = -1;
    for (const TTreeNode* node = tree->Items()->GetFirstNode(); node; node = node->GetNext()) {
        ++i;
        if (!node->Selected()) continue;
        const auto* item = static_cast<const FavItem*>(node->Data());
        if (IsFavFolder(item)) {
            if (!markerListed) {
                markerListed = true;
                marker.open(Utf16ToUtf8(MarkerPath()), std::ios::binary | std::ios::trunc);
                // Without the marker the folders stay out of the drag; the messages still go.
                if (marker) files.push_back(MarkerPath());
            }
            if (marker) marker << i << '\n';
        } else if (const auto* message = dynamic_cast<const FavMsg*>(item)) {
            if (!message->FileName.empty()) files.push_back(message->FileName);
        }
    }
    if (marker.is_open()) {
        marker.close();
        if (marker.fail()) std::erase(files, MarkerPath());
        else dragMarker_ = MarkerPath();
    }
    return files;
}

void TfrmFavorites::DragOut() {
    EndDrag();
    const std::vector<WideString> files = DragFiles();
    if (files.empty() || !dragFilesOut) {
        EndDrag();
        return;
    }
    dragging_ = true;
    dragFilesOut(files);
    // A drop on this pane is posted during the drag: it is handled before this message.
    if (!HandleAllocated() || !PostMessageW(Handle(), WM_FAVORITES_DRAG_ENDED, 0, 0)) EndDrag();
}

void TfrmFavorites::WMDragEnded(TMessage& message) {
    EndDrag();
    message.Result = 0;
}

void TfrmFavorites::EndDrag() {
    dragging_ = false;
    if (dragMarker_.empty()) return;
    WideDeleteFile(dragMarker_);
    dragMarker_.clear();
}

bool TfrmFavorites::IsOwnMarker(const WideString& path) const {
    if (!dragging_ || dragMarker_.empty()) return false;
    if (path == dragMarker_) return true;
    // The toolkit may hand the name back spelt otherwise ("//", a link in the folder).
    std::error_code ec;
    return std::filesystem::equivalent(Utf16ToUtf8(path), Utf16ToUtf8(dragMarker_), ec);
}

void TfrmFavorites::MoveMarkedFolders(const WideString& marker, TTreeNode* parent) {
    std::ifstream in(Utf16ToUtf8(marker), std::ios::binary);
    if (!in) return;
    TTreeNodes* items = Tree()->Items();
    std::vector<TTreeNode*> nodes;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream number(line);
        long long index = -1;
        if (!(number >> index) || index < 0 || index >= items->Count()) continue;
        nodes.push_back(items->Item(static_cast<int>(index)));
    }
    for (TTreeNode* node : nodes) MoveNode(node, parent);
}

void TfrmFavorites::WMDropFiles(TMessage& message) {
    const auto drop = reinterpret_cast<HDROP>(message.WParam);
    message.Result = 0;
    TTntTreeView* tree = Tree();
    const std::vector<WideString> paths = DroppedFileNames(drop);
    POINT point{};
    const bool inClient = DragQueryPoint(drop, &point);
    DragFinish(drop);
    if (!tree) return;

    TTreeNode* target = nullptr;
    if (TTreeNode* node = inClient ? tree->GetNodeAt(point.x - tree->Left(), point.y - tree->Top()) : nullptr)
        target = IsFavFolder(static_cast<const FavItem*>(node->Data())) ? node : node->Parent();

    WideString failed;
    for (const WideString& path : paths) {
        if (IsOwnMarker(path)) {
            MoveMarkedFolders(path, target);
            continue;
        }
        // Other files are left alone, the marker of an earlier or another drag included.
        std::unique_ptr<TMessageAttr> dropped = NewMessageForFile(path);
        if (!dropped) continue;
        if (!dropped->LoadFromFile(path, false)) {
            failed += u"\n" + path;
            continue;
        }
        AddMessageNode(dropped->subject + u" - " + dropped->from, dropped.get(), target);
    }
    if (!failed.empty()) Ask(WideFormat(GetUiFormat(1158).c_str(), failed.c_str()), GetUiString(1145), MB_OK | MB_ICONWARNING);
}
