// The conversion map: which clipboard format classes each data format class converts to and
// from, each data format's entries together and in ascending priority.
#pragma once

#include <climits>
#include <vector>

#include "controls/dragdrop/ClipboardFormat.h"

// Set while the subsystem shuts down: registrations are skipped then.
inline bool DragDropShutdown = false;

struct TConversionMapEntry {
    const TDataFormatClass* DataClass;
    const TClipboardFormatClass* FormatClass;
    int Priority;
    TConversionCapabilities Capabilities;
};

class TDataFormatMap {
public:
    static TDataFormatMap& Instance();

    // A pair already listed takes the new capabilities too (and moves into place again).
    void Add(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass, int priority,
             TConversionCapabilities capabilities);
    void Delete(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass);
    // Every entry of the class or a subclass.
    void DeleteByClipboardFormat(const TClipboardFormatClass& formatClass);
    void DeleteByDataFormat(const TDataFormatClass& dataClass);
    // The first entry whose classes are, or derive from, the two given; null when none.
    const TConversionMapEntry* FindMap(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass) const;
    bool CanMap(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass) const {
        return FindMap(dataClass, formatClass) != nullptr;
    }
    // New instances of the clipboard formats the data format class (or a parent) converts
    // with on the tier, in map order.
    void GetClipboardFormats(const TDataFormatClass& dataClass, TClipboardFormats& list, TDragDropTier tier) const;
    const std::vector<TConversionMapEntry>& Entries() const { return entries_; }

private:
    std::vector<TConversionMapEntry> entries_;
};

// Shorthands of the registration.
inline constexpr int DataConsumerPriority = INT_MAX;
void RegisterDataProvider(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass, int priority);
void RegisterDataConsumer(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass);
// Removes every conversion of the clipboard format class or its subclasses.
void UnregisterClipboardFormat(const TClipboardFormatClass& formatClass);
