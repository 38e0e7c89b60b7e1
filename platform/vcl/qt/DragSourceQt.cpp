#include "platform/vcl/qt/DragSourceQt.h"

#include <QApplication>
#include <QDrag>
#include <QPointer>
#include <QWidget>

#include "platform/com/FormatEtcEnumerator.h"
#include "platform/vcl/OleDragDrop.h"
#include "platform/vcl/qt/FormatMime.h"

namespace vclqt {
namespace {

Qt::DropActions ActionsOf(DWORD effects) {
    Qt::DropActions actions;
    if (effects & DROPEFFECT_COPY) actions |= Qt::CopyAction;
    if (effects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
    if (effects & DROPEFFECT_LINK) actions |= Qt::LinkAction;
    return actions;
}

DWORD EffectOf(Qt::DropAction action) {
    switch (action) {
        case Qt::CopyAction: return DROPEFFECT_COPY;
        case Qt::MoveAction:
        case Qt::TargetMoveAction: return DROPEFFECT_MOVE;
        case Qt::LinkAction: return DROPEFFECT_LINK;
        default: return DROPEFFECT_NONE;
    }
}

HRESULT QtDoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect) {
    const Qt::DropActions actions = ActionsOf(okEffects);
    if (!actions) return DRAGDROP_S_CANCEL;
    QObject* origin = QApplication::activeWindow();
    if (!origin) origin = qApp;
    // The drag may outlive nothing but this call; Qt deletes the MIME data with it.
    QPointer<QDrag> drag = new QDrag(origin);
    drag->setMimeData(new DataObjectMime(ComPtr<IDataObject>(data)));
    ComPtr<IDropSource> feedback(source);
    QObject::connect(drag, &QDrag::actionChanged, drag, [feedback](Qt::DropAction a) { feedback->GiveFeedback(EffectOf(a)); });
    const Qt::DropAction defaultAction = actions & Qt::CopyAction ? Qt::CopyAction
                                         : actions & Qt::MoveAction ? Qt::MoveAction
                                                                    : Qt::LinkAction;
    const Qt::DropAction done = drag->exec(actions, defaultAction);
    if (drag) drag->deleteLater();
    const DWORD answer = EffectOf(done) & okEffects;
    if (answer == DROPEFFECT_NONE) return DRAGDROP_S_CANCEL;
    *effect = answer;
    return DRAGDROP_S_DROP;
}

}  // namespace

std::vector<UINT> DataObjectMime::Formats() const {
    std::vector<UINT> formats;
    ComPtr<IEnumFORMATETC> e;
    if (!data_ || data_->EnumFormatEtc(DATADIR_GET, e.put()) != S_OK || !e) return formats;
    FORMATETC f;
    ULONG got = 0;
    while (e->Next(1, &f, &got) == S_OK && got == 1)
        if ((f.tymed & TYMED_HGLOBAL) && f.dwAspect == DVASPECT_CONTENT) formats.push_back(f.cfFormat);
    return formats;
}

QStringList DataObjectMime::formats() const {
    QStringList types;
    for (UINT format : Formats())
        for (const QString& mime : MimeTypesOfFormat(format))
            if (!types.contains(mime)) types.push_back(mime);
    return types;
}

QVariant DataObjectMime::retrieveData(const QString& mimeType, QMetaType) const {
    // Rendered afresh for every request, as the source may change between them.
    for (UINT format : Formats()) {
        if (!MimeTypesOfFormat(format).contains(mimeType)) continue;
        FORMATETC f{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        ScopedStgMedium medium;
        if (data_->GetData(&f, medium.get()) != S_OK || (*medium).tymed != TYMED_HGLOBAL) continue;
        const auto* bytes = static_cast<const char*>(GlobalLock((*medium).hGlobal));
        if (!bytes) continue;
        const std::string block(bytes, GlobalSize((*medium).hGlobal));
        GlobalUnlock((*medium).hGlobal);
        QMimeData rendered;
        FormatToMime(rendered, format, block);
        if (rendered.hasFormat(mimeType)) return rendered.data(mimeType);
    }
    return {};
}

void InstallQtDragDrop() { SetDragDropDriver(QtDoDragDrop); }

}  // namespace vclqt
