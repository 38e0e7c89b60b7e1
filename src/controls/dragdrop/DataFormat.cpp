#include "controls/dragdrop/DataFormat.h"

#include <algorithm>

#include "controls/dragdrop/DataFormatMap.h"
#include "controls/dragdrop/DragDropComponent.h"
#include "platform/vcl/SysUtils.h"

const TDataFormatClass& TCustomDataFormat::StaticClass() {
    static const TDataFormatClass c{"TCustomDataFormat"};
    return c;
}

TCustomDataFormat::TCustomDataFormat(TDragDropComponent* owner) : owner_(owner) {
    if (owner_) owner_->DataFormats().Add(this);
}

TCustomDataFormat::TCustomDataFormat(TDataFormatDirection direction)
    : tier_(direction == dfdConsumer ? ddtSource : ddtTarget) {}

TCustomDataFormat::~TCustomDataFormat() {
    if (owner_) owner_->DataFormats().Remove(this);
}

TClipboardFormats& TCustomDataFormat::CompatibleFormats() {
    // Made on first use: the class is known only once construction is over.
    if (!compatible_) {
        compatible_ = std::make_unique<TClipboardFormats>(this);
        if (owner_)
            owner_->GetCompatibleClipboardFormats(ClassType(), *compatible_);
        else if (tier_)
            TDataFormatMap::Instance().GetClipboardFormats(ClassType(), *compatible_, *tier_);
    }
    return *compatible_;
}

void TCustomDataFormat::Changing() {
    if (OnChanging) OnChanging(this);
}

bool TCustomDataFormat::GetData(IDataObject* data) {
    bool ok = false;
    TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count() && NeedsData(); ++i) {
        TClipboardFormat& f = *formats[i];
        f.Clear();
        if (f.GetData(data) && f.HasData()) {
            if (Assign(f)) ok = true;
            f.Clear();
        }
    }
    return ok;
}

bool TCustomDataFormat::HasValidFormats(IDataObject* data) {
    TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count(); ++i)
        if (formats[i]->HasValidFormats(data)) return true;
    return false;
}

bool TCustomDataFormat::AcceptFormat(const FORMATETC& format) {
    TClipboardFormats& formats = CompatibleFormats();
    for (int i = 0; i < formats.Count(); ++i)
        if (formats[i]->AcceptFormat(format)) return true;
    return false;
}

bool TCustomDataFormat::SupportsFormat(TClipboardFormat& format) {
    return CompatibleFormats().FindFormat(format.FormatEtc().cfFormat) != nullptr;
}

void TCustomDataFormat::RegisterDataFormat(const TDataFormatClass& dataClass) {
    if (DragDropShutdown) return;
    TDataFormatClasses::Instance().Add(dataClass);
    if (dataClass.RegisterCompatibleFormats) dataClass.RegisterCompatibleFormats();
}

void TCustomDataFormat::UnregisterDataFormat(const TDataFormatClass& dataClass) {
    if (DragDropShutdown) return;
    TDataFormatMap::Instance().DeleteByDataFormat(dataClass);
    TDataFormatClasses::Instance().Remove(dataClass);
}

void TCustomDataFormat::RegisterDataConversion(const TDataFormatClass& dataClass,
                                               const TClipboardFormatClass& formatClass, int priority,
                                               TConversionCapabilities capabilities) {
    if (!DragDropShutdown) TDataFormatMap::Instance().Add(dataClass, formatClass, priority, capabilities);
}

int TDataFormats::Add(TCustomDataFormat* format) {
    if (const int at = IndexOf(format); at >= 0) return at;
    items_.push_back(format);
    return Count() - 1;
}

void TDataFormats::Remove(TCustomDataFormat* format) { std::erase(items_, format); }

int TDataFormats::IndexOf(const TCustomDataFormat* format) const {
    const auto it = std::find(items_.begin(), items_.end(), format);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TDataFormatClasses& TDataFormatClasses::Instance() {
    static TDataFormatClasses registry;
    return registry;
}

void TDataFormatClasses::Add(const TDataFormatClass& dataClass) {
    if (std::find(items_.begin(), items_.end(), &dataClass) == items_.end()) items_.push_back(&dataClass);
}

void TDataFormatClasses::Remove(const TDataFormatClass& dataClass) { std::erase(items_, &dataClass); }

const TDataFormatClass* TDataFormatClasses::Find(std::string_view name) const {
    for (const TDataFormatClass* c : items_)
        if (AnsiSameText(c->Name, name)) return c;
    return nullptr;
}
