// Drags from our data objects over the desktop's drag and drop: the source's data as MIME data
// rendered on request, its allowed effects as the drag's actions, the dropped action as the
// effect. Drags between our own windows reach the source's data object itself.
#pragma once

#include <QMimeData>

#include "platform/com/DataObject.h"

namespace vclqt {

// MIME data over a data object: the formats it offers, each rendered when asked for.
class DataObjectMime final : public QMimeData {
public:
    explicit DataObjectMime(ComPtr<IDataObject> data) : data_(std::move(data)) {}
    IDataObject* Source() const { return data_.get(); }

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override { return formats().contains(mimeType); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    std::vector<UINT> Formats() const;
    ComPtr<IDataObject> data_;
};

// Makes QDrag the driver of DoDragDrop; the widget set calls it once.
void InstallQtDragDrop();

}  // namespace vclqt
