// The source side of a drag: the data object targets read from and the partner that tells the
// drag whether to go on. Execute runs a whole drag and answers how it ended.
#pragma once

#include <functional>
#include <memory>

#include "controls/dragdrop/DragDropComponent.h"
#include "controls/dragdrop/DropEffects.h"

enum TDragResult { drDropCopy, drDropMove, drDropLink, drCancel, drOutMemory, drAsync, drUnknown };

// 0 cancel, copy, move and link; anything else unknown.
TDragResult DropEffectToDragResult(DWORD dropEffect);

QUILLORA_EXCEPTION_CLASS(EDropSource, Exception);

class TDropSourceFace;
class TFeedbackDataFormat;
class TRawDataFormat;

class TCustomDropSource : public TDragDropComponent {
public:
    using TFeedbackEvent = std::function<void(TObject* sender, DWORD effect, bool& useDefaultCursors)>;
    using TDropEvent = std::function<void(TObject* sender, TDragType dragType, bool& continueDrop)>;
    using TAfterDropEvent = std::function<void(TObject* sender, TDragResult dragResult, bool optimized)>;
    using TDataEvent = std::function<void(TObject* sender, const FORMATETC& format, STGMEDIUM& medium, bool& handled)>;
    using TPasteEvent = std::function<void(TObject* sender, TDragResult action, bool deleteOnPaste)>;

    explicit TCustomDropSource(TComponent* owner);
    ~TCustomDropSource() override;
    std::string_view ClassName() const override { return "TCustomDropSource"; }

    TDragTypes DragTypes = {dtCopy};
    TFeedbackEvent OnFeedback;
    TDropEvent OnDrop;
    TAfterDropEvent OnAfterDrop;
    TDataEvent OnGetData;
    TDataEvent OnSetData;
    TPasteEvent OnPaste;
    // Allows targets to ask for an asynchronous extraction (the drag itself always runs here).
    bool AllowAsyncTransfer = false;

    // Runs a drag to its end. Drags run on the thread of the windows, so an asynchronous request
    // runs synchronously as well. Raises while a drag or an extraction is in progress.
    TDragResult Execute(bool asynchronous = false);

    // Puts the data on the clipboard with copy (move) as the preferred effect; false when the
    // clipboard cannot take it. The clipboard receives the data rendered at once.
    bool CopyToClipboard();
    bool CutToClipboard();
    // Act only while this source's data are what the clipboard holds; a failure raises.
    void FlushClipboard();
    void EmptyClipboard();
    bool DragInProgress() const { return dragInProgress_; }
    bool InOperation() const { return inOperation_; }

    // The component as the data object and drop source handed to the platform; it answers
    // E_UNEXPECTED once the component is gone.
    IDataObject* DataObject() const;
    IDropSource* DropSource() const;

    // The data object's and drop source's calls.
    HRESULT GetData(const FORMATETC& format, STGMEDIUM& medium);
    HRESULT QueryGetData(const FORMATETC& format) { return HasFormat(format) ? S_OK : DV_E_FORMATETC; }
    HRESULT SetData(const FORMATETC& format, STGMEDIUM& medium, bool release);
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** out);
    HRESULT QueryContinueDrag(bool escapePressed, DWORD keyState);
    HRESULT GiveFeedback(DWORD effect);
    // The asynchronous-extraction calls of a target.
    HRESULT SetAsyncMode(bool async);
    bool GetAsyncMode() const { return asyncMode_; }
    HRESULT StartOperation();
    HRESULT EndOperation(HRESULT result, DWORD effects);

    virtual DWORD GetPerformedDropEffect() { return 0; }
    virtual DWORD GetLogicalPerformedDropEffect() { return 0; }
    virtual void SetPerformedDropEffect(DWORD) {}
    virtual DWORD GetPreferredDropEffect() { return 0; }
    virtual void SetPreferredDropEffect(DWORD) {}
    virtual bool GetInShellDragLoop() { return false; }
    virtual void SetInShellDragLoop(bool) {}

protected:
    virtual HRESULT DoGetData(const FORMATETC& format, STGMEDIUM& medium) = 0;
    virtual HRESULT DoSetData(const FORMATETC& format, STGMEDIUM& medium);
    virtual bool HasFormat(const FORMATETC& format) = 0;
    virtual std::vector<FORMATETC> GetEnumFormatEtc(DWORD direction) = 0;
    virtual TDragResult DoExecute();
    virtual bool CutOrCopyToClipboard();
    virtual void DoOnPaste(TDragResult action, bool deleteOnPaste);

private:
    ComPtr<TDropSourceFace> face_;
    DWORD lastFeedback_ = DROPEFFECT_NONE;
    bool dragInProgress_ = false;
    bool asyncMode_ = false;
    bool inOperation_ = false;
};

// A source whose data formats render every format they support, afresh for each request; data a
// target hands in is kept (raw when no data format takes it).
class TCustomDropMultiSource : public TCustomDropSource {
public:
    explicit TCustomDropMultiSource(TComponent* owner);
    ~TCustomDropMultiSource() override;
    std::string_view ClassName() const override { return "TCustomDropMultiSource"; }

    void GetCompatibleClipboardFormats(const TDataFormatClass& dataClass, TClipboardFormats& list) override;

    DWORD GetPerformedDropEffect() override;
    DWORD GetLogicalPerformedDropEffect() override;
    void SetPerformedDropEffect(DWORD effect) override;
    DWORD GetPreferredDropEffect() override;
    void SetPreferredDropEffect(DWORD effect) override;
    bool GetInShellDragLoop() override;
    void SetInShellDragLoop(bool value) override;

protected:
    HRESULT DoGetData(const FORMATETC& format, STGMEDIUM& medium) override;
    HRESULT DoSetData(const FORMATETC& format, STGMEDIUM& medium) override;
    bool HasFormat(const FORMATETC& format) override;
    std::vector<FORMATETC> GetEnumFormatEtc(DWORD direction) override;
    virtual void DoOnSetData(TCustomDataFormat& dataFormat, TClipboardFormat& clipboardFormat);

private:
    TFeedbackDataFormat* feedback_;
    TRawDataFormat* raw_;
};

// A source with no data formats of its own.
class TDropEmptySource : public TCustomDropMultiSource {
public:
    using TCustomDropMultiSource::TCustomDropMultiSource;
    std::string_view ClassName() const override { return "TDropEmptySource"; }
};

// The formats a source's data formats with data offer in a direction, each once, in order.
std::vector<FORMATETC> EnumerateSourceFormats(TDataFormats& formats, DWORD direction);
