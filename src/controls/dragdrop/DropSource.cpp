#include "controls/dragdrop/DropSource.h"

#include <algorithm>

#include "controls/dragdrop/DataFormatMap.h"
#include "controls/dragdrop/FeedbackFormats.h"
#include "controls/dragdrop/RawFormats.h"
#include "platform/com/FormatEtcEnumerator.h"
#include "platform/vcl/OleClipboard.h"
#include "platform/vcl/OleDragDrop.h"

// The component's face towards the platform: reference counted on its own, so a platform that
// holds on to it after the component is gone gets E_UNEXPECTED instead of a dangling object.
// No exception leaves it.
class TDropSourceFace final : public IDataObject, public IDropSource, public IAsyncOperation {
public:
    explicit TDropSourceFace(TCustomDropSource* owner) : owner_(owner) {}
    void Detach() { owner_ = nullptr; }

    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (riid == IUnknown::iid() || riid == IDataObject::iid())
            *object = static_cast<IDataObject*>(this);
        else if (riid == IDropSource::iid())
            *object = static_cast<IDropSource*>(this);
        else if (riid == IAsyncOperation::iid())
            *object = static_cast<IAsyncOperation*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        return Guard([&](TCustomDropSource& s) { return s.GetData(*format, *medium); });
    }
    HRESULT GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT QueryGetData(FORMATETC* format) override {
        if (!format) return E_INVALIDARG;
        return Guard([&](TCustomDropSource& s) { return s.QueryGetData(*format); });
    }
    HRESULT GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override {
        if (!format || !medium) return E_INVALIDARG;
        const HRESULT hr = Guard([&](TCustomDropSource& s) { return s.SetData(*format, *medium, false); });
        if (release) ReleaseStgMedium(medium);
        return hr;
    }
    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_INVALIDARG;
        *out = nullptr;
        return Guard([&](TCustomDropSource& s) { return s.EnumFormatEtc(direction, out); });
    }
    HRESULT DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(IEnumSTATDATA** out) override {
        if (out) *out = nullptr;
        return OLE_E_ADVISENOTSUPPORTED;
    }

    HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) override {
        return Guard([&](TCustomDropSource& s) { return s.QueryContinueDrag(escapePressed != FALSE, keyState); });
    }
    HRESULT GiveFeedback(DWORD effect) override {
        return Guard([&](TCustomDropSource& s) { return s.GiveFeedback(effect); });
    }

    HRESULT SetAsyncMode(BOOL async) override {
        return Guard([&](TCustomDropSource& s) { return s.SetAsyncMode(async != FALSE); });
    }
    HRESULT GetAsyncMode(BOOL* async) override {
        if (!async) return E_INVALIDARG;
        return Guard([&](TCustomDropSource& s) {
            *async = s.GetAsyncMode() ? -1 : 0;
            return S_OK;
        });
    }
    HRESULT StartOperation(void*) override {
        return Guard([&](TCustomDropSource& s) { return s.StartOperation(); });
    }
    HRESULT InOperation(BOOL* inOperation) override {
        if (!inOperation) return E_INVALIDARG;
        return Guard([&](TCustomDropSource& s) {
            *inOperation = s.InOperation() ? -1 : 0;
            return S_OK;
        });
    }
    HRESULT EndOperation(HRESULT result, void*, DWORD effects) override {
        return Guard([&](TCustomDropSource& s) { return s.EndOperation(result, effects); });
    }

private:
    ~TDropSourceFace() override = default;

    template <class F>
    HRESULT Guard(F&& f) {
        if (!owner_) return E_UNEXPECTED;
        try {
            return f(*owner_);
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

    TCustomDropSource* owner_;
    std::atomic<ULONG> refs_{1};
};

TDragResult DropEffectToDragResult(DWORD dropEffect) {
    switch (dropEffect) {
        case DROPEFFECT_NONE: return drCancel;
        case DROPEFFECT_COPY: return drDropCopy;
        case DROPEFFECT_MOVE: return drDropMove;
        case DROPEFFECT_LINK: return drDropLink;
        default: return drUnknown;
    }
}

TCustomDropSource::TCustomDropSource(TComponent* owner)
    : TDragDropComponent(owner), face_(ComPtr<TDropSourceFace>::Adopt(new TDropSourceFace(this))) {}

TCustomDropSource::~TCustomDropSource() {
    if (OleIsCurrentClipboard(DataObject()) == S_OK) OleFlushClipboard();
    face_->Detach();
}

bool TCustomDropSource::CutOrCopyToClipboard() { return OleSetClipboard(DataObject()) == S_OK; }

bool TCustomDropSource::CopyToClipboard() {
    SetPreferredDropEffect(DROPEFFECT_COPY);
    return CutOrCopyToClipboard();
}

bool TCustomDropSource::CutToClipboard() {
    SetPreferredDropEffect(DROPEFFECT_MOVE);
    return CutOrCopyToClipboard();
}

void TCustomDropSource::FlushClipboard() {
    if (OleIsCurrentClipboard(DataObject()) != S_OK) return;
    if (const HRESULT hr = OleFlushClipboard(); FAILED(hr))
        throw EDropSource(AnsiFormat("Clipboard flush failed (%08X)", static_cast<unsigned>(hr)));
}

void TCustomDropSource::EmptyClipboard() {
    if (OleIsCurrentClipboard(DataObject()) != S_OK) return;
    if (const HRESULT hr = OleSetClipboard(nullptr); FAILED(hr))
        throw EDropSource(AnsiFormat("Clipboard could not be emptied (%08X)", static_cast<unsigned>(hr)));
}

IDataObject* TCustomDropSource::DataObject() const { return face_.get(); }
IDropSource* TCustomDropSource::DropSource() const { return face_.get(); }

HRESULT TCustomDropSource::GetData(const FORMATETC& format, STGMEDIUM& medium) {
    medium = STGMEDIUM{};
    if (OnGetData) {
        bool handled = false;
        OnGetData(this, format, medium, handled);
        if (handled) return S_OK;
    }
    return HasFormat(format) ? DoGetData(format, medium) : DV_E_FORMATETC;
}

HRESULT TCustomDropSource::SetData(const FORMATETC& format, STGMEDIUM& medium, bool release) {
    const HRESULT hr = DoSetData(format, medium);
    if (release) ReleaseStgMedium(&medium);
    return hr;
}

HRESULT TCustomDropSource::DoSetData(const FORMATETC& format, STGMEDIUM& medium) {
    if (!OnSetData) return E_NOTIMPL;
    bool handled = false;
    OnSetData(this, format, medium, handled);
    return handled ? S_OK : E_NOTIMPL;
}

HRESULT TCustomDropSource::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
    if (direction != DATADIR_GET && direction != DATADIR_SET) return E_NOTIMPL;
    *out = MakeComObject<FormatEtcEnumerator>(GetEnumFormatEtc(direction)).Detach();
    return S_OK;
}

HRESULT TCustomDropSource::QueryContinueDrag(bool escapePressed, DWORD keyState) {
    if (escapePressed) return DRAGDROP_S_CANCEL;
    if (keyState & (MK_LBUTTON | MK_RBUTTON)) return S_OK;
    TDragType dragType;
    bool drop = DropEffectToDragType(lastFeedback_, dragType) && DragTypes.Contains(dragType);
    SetInShellDragLoop(false);
    if (drop && OnDrop) OnDrop(this, dragType, drop);
    return drop ? DRAGDROP_S_DROP : DRAGDROP_S_CANCEL;
}

HRESULT TCustomDropSource::GiveFeedback(DWORD effect) {
    lastFeedback_ = effect;
    bool useDefault = true;
    if (OnFeedback) OnFeedback(this, effect, useDefault);
    return useDefault ? DRAGDROP_S_USEDEFAULTCURSORS : S_OK;
}

HRESULT TCustomDropSource::SetAsyncMode(bool async) {
    if (!AllowAsyncTransfer) return E_NOTIMPL;
    asyncMode_ = async;
    return S_OK;
}

HRESULT TCustomDropSource::StartOperation() {
    if (!asyncMode_) return E_NOTIMPL;
    inOperation_ = true;
    return S_OK;
}

HRESULT TCustomDropSource::EndOperation(HRESULT result, DWORD effects) {
    if (!inOperation_) return E_FAIL;
    inOperation_ = false;
    const TDragResult dragResult =
        SUCCEEDED(result) ? DropEffectToDragResult(effects & DragTypesToDropEffect(DragTypes)) : drUnknown;
    const bool optimized = !(dragResult == drDropMove && GetPerformedDropEffect() == DROPEFFECT_MOVE);
    if (OnAfterDrop) OnAfterDrop(this, dragResult, optimized);
    return S_OK;
}

TDragResult TCustomDropSource::Execute(bool) {
    if (inOperation_) throw EDropSource("An asynchronous drag and drop operation is in progress");
    if (dragInProgress_) throw EDropSource("A drag and drop operation is already in progress");
    SetPerformedDropEffect(static_cast<DWORD>(-1));
    inOperation_ = false;
    asyncMode_ = AllowAsyncTransfer;
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    } running(dragInProgress_);
    return DoExecute();
}

TDragResult TCustomDropSource::DoExecute() {
    const DWORD allowed = DragTypesToDropEffect(DragTypes);
    lastFeedback_ = DROPEFFECT_NONE;
    SetInShellDragLoop(true);
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr;
    try {
        hr = ::DoDragDrop(DataObject(), DropSource(), allowed, &effect);
    } catch (...) {
        SetInShellDragLoop(false);
        throw;
    }
    SetInShellDragLoop(false);

    TDragResult result;
    if (hr == E_OUTOFMEMORY)
        result = drOutMemory;
    else if (hr == DRAGDROP_S_CANCEL)
        result = drCancel;
    else if (hr != DRAGDROP_S_DROP)
        result = drUnknown;
    else if (GetLogicalPerformedDropEffect() == DROPEFFECT_MOVE ||
             (effect != DROPEFFECT_MOVE && GetPerformedDropEffect() == DROPEFFECT_MOVE))
        result = drDropMove;
    else
        result = DropEffectToDragResult(effect & allowed);

    if (GetPerformedDropEffect() == static_cast<DWORD>(-1)) SetPerformedDropEffect(0);
    // After a drop the target may go on extracting; otherwise nothing runs any more.
    if (hr != DRAGDROP_S_DROP) inOperation_ = false;
    if (!inOperation_ && OnAfterDrop) {
        const bool optimized =
            result == drDropMove && !(effect == DROPEFFECT_MOVE && GetPerformedDropEffect() == DROPEFFECT_MOVE);
        OnAfterDrop(this, result, optimized);
    }
    return result;
}

void TCustomDropSource::DoOnPaste(TDragResult action, bool deleteOnPaste) {
    if (OnPaste) OnPaste(this, action, deleteOnPaste);
}

std::vector<FORMATETC> EnumerateSourceFormats(TDataFormats& formats, DWORD direction) {
    const TDataDirection wanted = direction == DATADIR_SET ? ddWrite : ddRead;
    std::vector<FORMATETC> list;
    for (int i = 0; i < formats.Count(); ++i) {
        TCustomDataFormat& data = *formats[i];
        if (!data.HasData()) continue;
        TClipboardFormats& clip = data.CompatibleFormats();
        for (int j = 0; j < clip.Count(); ++j) {
            TClipboardFormat& f = *clip[j];
            if (!f.ClassType().Direction.Contains(wanted)) continue;
            const FORMATETC& fe = f.FormatEtc();
            const bool listed = std::any_of(list.begin(), list.end(),
                                            [&](const FORMATETC& e) { return e.cfFormat == fe.cfFormat; });
            if (!listed) list.push_back(fe);
        }
    }
    return list;
}

TCustomDropMultiSource::TCustomDropMultiSource(TComponent* owner)
    : TCustomDropSource(owner),
      feedback_(&Own(std::make_unique<TFeedbackDataFormat>(this))),
      raw_(&Own(std::make_unique<TRawDataFormat>(this))) {}

TCustomDropMultiSource::~TCustomDropMultiSource() = default;

void TCustomDropMultiSource::GetCompatibleClipboardFormats(const TDataFormatClass& dataClass, TClipboardFormats& list) {
    TDataFormatMap::Instance().GetClipboardFormats(dataClass, list, ddtSource);
}

DWORD TCustomDropMultiSource::GetPerformedDropEffect() { return feedback_->PerformedDropEffect(); }
DWORD TCustomDropMultiSource::GetLogicalPerformedDropEffect() { return feedback_->LogicalPerformedDropEffect(); }
void TCustomDropMultiSource::SetPerformedDropEffect(DWORD effect) { feedback_->SetPerformedDropEffect(effect); }
DWORD TCustomDropMultiSource::GetPreferredDropEffect() { return feedback_->PreferredDropEffect(); }
void TCustomDropMultiSource::SetPreferredDropEffect(DWORD effect) { feedback_->SetPreferredDropEffect(effect); }
bool TCustomDropMultiSource::GetInShellDragLoop() { return feedback_->InShellDragLoop(); }
void TCustomDropMultiSource::SetInShellDragLoop(bool value) { feedback_->SetInShellDragLoop(value); }

HRESULT TCustomDropMultiSource::DoGetData(const FORMATETC& format, STGMEDIUM& medium) {
    medium = STGMEDIUM{};
    TDataFormats& formats = DataFormats();
    for (int i = 0; i < formats.Count(); ++i) {
        TCustomDataFormat& data = *formats[i];
        if (!data.HasData()) continue;
        TClipboardFormats& clip = data.CompatibleFormats();
        for (int j = 0; j < clip.Count(); ++j) {
            TClipboardFormat& f = *clip[j];
            if (!f.AcceptFormat(format)) continue;
            // Rendered afresh for every request.
            const bool ok = data.AssignTo(f) && f.HasData() && f.SetDataToMedium(format, medium);
            if (!dynamic_cast<TRawClipboardFormat*>(&f)) f.Clear();
            if (ok) return S_OK;
        }
    }
    return DV_E_FORMATETC;
}

HRESULT TCustomDropMultiSource::DoSetData(const FORMATETC& format, STGMEDIUM& medium) {
    TDataFormats& formats = DataFormats();
    for (int i = 0; i < formats.Count(); ++i) {
        TCustomDataFormat& data = *formats[i];
        if (&data == raw_) continue;
        TClipboardFormats& clip = data.CompatibleFormats();
        for (int j = 0; j < clip.Count(); ++j) {
            TClipboardFormat& f = *clip[j];
            if (!f.AcceptFormat(format)) continue;
            // The medium stays the caller's: read from a copy.
            STGMEDIUM copy;
            if (FAILED(CopyStgMedium(&medium, &copy))) return E_OUTOFMEMORY;
            if (f.GetDataFromMedium(DataObject(), copy) && data.Assign(f)) {
                DoOnSetData(data, f);
                f.Clear();
                return S_OK;
            }
            f.Clear();
        }
    }
    // Nobody interprets it: kept as it is, to be read back.
    FORMATETC raw = format;
    raw.tymed = medium.tymed;
    TClipboardFormats& rawFormats = raw_->CompatibleFormats();
    TClipboardFormat* existing = rawFormats.FindFormat(format.cfFormat);
    if (!existing) existing = rawFormats[rawFormats.Add(std::make_unique<TRawClipboardFormat>(raw))];
    auto& rawFormat = static_cast<TRawClipboardFormat&>(*existing);
    if (!rawFormat.CopyFromMedium(medium) || !raw_->Assign(rawFormat)) return E_NOTIMPL;
    return S_OK;
}

void TCustomDropMultiSource::DoOnSetData(TCustomDataFormat&, TClipboardFormat& clipboardFormat) {
    const auto* value = dynamic_cast<const TCustomDWORDClipboardFormat*>(&clipboardFormat);
    if (!value) return;
    if (dynamic_cast<const TPasteSucceededClipboardFormat*>(value))
        DoOnPaste(DropEffectToDragResult(value->Value),
                  value->Value == DROPEFFECT_MOVE && GetPerformedDropEffect() == DROPEFFECT_MOVE);
    else if (dynamic_cast<const TPerformedDropEffectClipboardFormat*>(value) && InOperation())
        EndOperation(S_OK, value->Value);
}

bool TCustomDropMultiSource::HasFormat(const FORMATETC& format) {
    TDataFormats& formats = DataFormats();
    for (int i = 0; i < formats.Count(); ++i)
        if (formats[i]->AcceptFormat(format)) return true;
    return false;
}

std::vector<FORMATETC> TCustomDropMultiSource::GetEnumFormatEtc(DWORD direction) {
    return EnumerateSourceFormats(DataFormats(), direction);
}
