#include "platform/vcl/qt/ClipbrdQt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/qt/FormatMime.h"

namespace vclqt {
namespace {

class QtClipboardStore : public TClipboardStore {
public:
    std::vector<UINT> Formats() const override {
        const QMimeData* data = Data();
        return data ? FormatsOfMime(*data) : std::vector<UINT>{};
    }

    std::optional<std::string> Get(UINT format) const override {
        const QMimeData* data = Data();
        if (!data) return std::nullopt;
        return FormatFromMime(*data, format);
    }

    void Put(const std::vector<TClipboardItem>& items) override {
        auto data = std::make_unique<QMimeData>();
        for (const TClipboardItem& i : items) FormatToMime(*data, i.Format, i.Bytes);
        QGuiApplication::clipboard()->setMimeData(data.release());  // the clipboard owns it
    }

private:
    static const QMimeData* Data() { return QGuiApplication::clipboard()->mimeData(); }
};

}  // namespace

void InstallQtClipboard() { SetClipboardStore(std::make_unique<QtClipboardStore>()); }

}  // namespace vclqt
