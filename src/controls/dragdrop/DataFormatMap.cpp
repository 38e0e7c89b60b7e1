#include "controls/dragdrop/DataFormatMap.h"

#include <algorithm>

#include "controls/dragdrop/DataFormat.h"

TDataFormatMap& TDataFormatMap::Instance() {
    static TDataFormatMap map;
    return map;
}

void TDataFormatMap::Add(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass, int priority,
                         TConversionCapabilities capabilities) {
    TConversionMapEntry entry{&dataClass, &formatClass, 0, {}};
    const auto same = std::find_if(entries_.begin(), entries_.end(), [&](const TConversionMapEntry& e) {
        return e.DataClass == &dataClass && e.FormatClass == &formatClass;
    });
    if (same != entries_.end()) {
        entry = *same;
        entries_.erase(same);
    }
    entry.Capabilities = entry.Capabilities + capabilities;
    if (capabilities.Contains(ccReadFromDataFormat)) entry.Priority = priority;

    // Into the run of the same data class, before the first entry of equal or higher priority.
    const auto last = std::find_if(entries_.rbegin(), entries_.rend(),
                                   [&](const TConversionMapEntry& e) { return e.DataClass == &dataClass; });
    if (last == entries_.rend()) {
        entries_.push_back(entry);
        return;
    }
    auto runEnd = last.base();  // one past the run's last entry
    auto at = runEnd;
    while (at != entries_.begin() && (at - 1)->DataClass == &dataClass && (at - 1)->Priority >= entry.Priority) --at;
    entries_.insert(at, entry);
}

void TDataFormatMap::Delete(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass) {
    std::erase_if(entries_, [&](const TConversionMapEntry& e) {
        return e.DataClass == &dataClass && e.FormatClass == &formatClass;
    });
}

void TDataFormatMap::DeleteByClipboardFormat(const TClipboardFormatClass& formatClass) {
    std::erase_if(entries_, [&](const TConversionMapEntry& e) { return e.FormatClass->InheritsFrom(formatClass); });
}

void TDataFormatMap::DeleteByDataFormat(const TDataFormatClass& dataClass) {
    std::erase_if(entries_, [&](const TConversionMapEntry& e) { return e.DataClass->InheritsFrom(dataClass); });
}

const TConversionMapEntry* TDataFormatMap::FindMap(const TDataFormatClass& dataClass,
                                                   const TClipboardFormatClass& formatClass) const {
    for (const TConversionMapEntry& e : entries_)
        if (dataClass.InheritsFrom(*e.DataClass) && formatClass.InheritsFrom(*e.FormatClass)) return &e;
    return nullptr;
}

void TDataFormatMap::GetClipboardFormats(const TDataFormatClass& dataClass, TClipboardFormats& list,
                                         TDragDropTier tier) const {
    list.Clear();
    for (const TConversionMapEntry& e : entries_) {
        if (!dataClass.InheritsFrom(*e.DataClass) || !e.FormatClass->Create) continue;
        const bool wanted = tier == ddtSource ? e.Capabilities.Contains(ccReadFromDataFormat) ||
                                                    e.FormatClass->Direction.Contains(ddWrite)
                                              : e.Capabilities.Contains(ccWriteToDataFormat) ||
                                                    e.FormatClass->Direction.Contains(ddRead);
        if (wanted) list.Add(e.FormatClass->Create());
    }
}

void RegisterDataProvider(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass, int priority) {
    TCustomDataFormat::RegisterDataConversion(dataClass, formatClass, priority, {ccWriteToDataFormat});
}

void RegisterDataConsumer(const TDataFormatClass& dataClass, const TClipboardFormatClass& formatClass) {
    TCustomDataFormat::RegisterDataConversion(dataClass, formatClass, DataConsumerPriority, {ccReadFromDataFormat});
}

void UnregisterClipboardFormat(const TClipboardFormatClass& formatClass) {
    if (!DragDropShutdown) TDataFormatMap::Instance().DeleteByClipboardFormat(formatClass);
}
