#include "controls/shell/ChangeHandlerThread.h"

#include <fcntl.h>

#include <vector>

#include "platform/vcl/WinUser.h"

TChangeHandlerThread::TChangeHandlerThread(HWND owner, UINT messageId, const std::string& mountTable)
    : owner_(owner),
      messageId_(messageId),
      mountTable_(mountTable.empty() ? -1 : open(mountTable.c_str(), O_RDONLY | O_CLOEXEC)),
      thread_([this] { Run(); }) {}

TChangeHandlerThread::~TChangeHandlerThread() {
    {
        std::lock_guard lock(mutex_);
        action_ = Action::Quit;
    }
    wake_.Set();
    thread_.join();
    // The handles close with the slots and the pending one.
}

bool TChangeHandlerThread::AddWatch(const AnsiString& path, DWORD filter, int& slot, bool subtree) {
    slot = -1;
    if (path.empty()) return false;
    std::unique_ptr<ShellChangeHandle> handle = ShellChangeHandle::Open(path, subtree, filter);
    if (!handle) return false;
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(handle);
    }
    Request(Action::Add);
    std::lock_guard lock(mutex_);
    // A handle the full table did not take is closed here rather than left to the next request.
    pending_.reset();
    slot = newSlot_;
    return slot >= 0;
}

void TChangeHandlerThread::RemoveAllWatches() { Request(Action::RemoveAll); }

void TChangeHandlerThread::Request(Action action) {
    std::unique_lock lock(mutex_);
    action_ = action;
    const unsigned long ticket = ++requested_;
    wake_.Set();
    processed_.wait(lock, [&] { return done_ >= ticket; });
}

void TChangeHandlerThread::Perform(Action action) {
    if (action == Action::Add) {
        newSlot_ = -1;
        for (int i = 0; i < kSlotCount; ++i) {
            if (slots_[i]) continue;
            slots_[i] = std::move(pending_);
            newSlot_ = i;
            break;
        }
    } else if (action == Action::RemoveAll) {
        for (auto& s : slots_) s.reset();
    }
}

void TChangeHandlerThread::Run() {
    std::vector<ShellChangeHandle*> waiting;
    std::vector<int> slotOf;
    for (;;) {
        waiting.clear();
        slotOf.clear();
        for (int i = 0; i < kSlotCount; ++i)
            if (slots_[i]) {
                waiting.push_back(slots_[i].get());
                slotOf.push_back(i);
            }
        const int fired = WaitForShellChanges(wake_, waiting, mountTable_.get());
        if (fired == kMountTableChanged) {
            if (owner_) PostMessageW(owner_, messageId_, kMountsChangedSlot, 0);
            continue;
        }
        if (fired < 0) {
            wake_.Reset();
            std::lock_guard lock(mutex_);
            const Action action = std::exchange(action_, Action::None);
            if (action == Action::Quit) return;
            Perform(action);
            done_ = requested_;
            processed_.notify_all();
            continue;
        }
        const int slot = slotOf[static_cast<std::size_t>(fired)];
        if (slots_[slot]->Consume() && owner_) PostMessageW(owner_, messageId_, static_cast<WPARAM>(slot), 0);
        // A folder that went can never fire again: its slot is free.
        if (slots_[slot]->Gone()) slots_[slot].reset();
    }
}
