// Adds a data format, chosen by its class name, to a drop source or target that does not have
// it (an empty source or target gets its formats this way).
#pragma once

#include "controls/dragdrop/DragDropComponent.h"

class TDataFormatAdapter : public TComponent {
public:
    explicit TDataFormatAdapter(TComponent* owner);
    ~TDataFormatAdapter() override;
    std::string_view ClassName() const override { return "TDataFormatAdapter"; }

    TDragDropComponent* DragDropComponent() const { return component_; }
    void SetDragDropComponent(TDragDropComponent* component);
    const AnsiString& DataFormatName() const { return name_; }
    // Raises for a name no data format class was registered under.
    void SetDataFormatName(const AnsiString& name);
    // True while the data format exists.
    bool Enabled() const { return format_ != nullptr; }
    void SetEnabled(bool enabled);
    TCustomDataFormat* DataFormat() const { return format_.get(); }

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

private:
    void Enable();
    void Disable();

    TDragDropComponent* component_ = nullptr;
    const TDataFormatClass* class_ = nullptr;
    AnsiString name_;
    bool enabled_ = true;
    std::unique_ptr<TCustomDataFormat> format_;
};
