// The base of drop sources and targets: a component holding its data formats, which tells
// them the clipboard formats they are compatible with.
#pragma once

#include "controls/dragdrop/DataFormat.h"
#include "platform/vcl/Components.h"

class TDragDropComponent : public TComponent {
public:
    explicit TDragDropComponent(TComponent* owner);
    ~TDragDropComponent() override;

    std::string_view ClassName() const override { return "TDragDropComponent"; }

    TDataFormats& DataFormats() { return dataFormats_; }
    // Keeps a data format made with this component as its owner; freed with it, last first.
    template <class T>
    T& Own(std::unique_ptr<T> format) {
        T& f = *format;
        owned_.push_back(std::move(format));
        return f;
    }
    // The clipboard formats this component supports for a data format class; none in the base.
    virtual void GetCompatibleClipboardFormats(const TDataFormatClass& dataClass, TClipboardFormats& list);

private:
    TDataFormats dataFormats_;
    std::vector<std::unique_ptr<TCustomDataFormat>> owned_;
};

// Registers the built-in data and clipboard formats and their conversions, once.
void DragDropStartup();
