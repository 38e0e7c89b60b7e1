#include "platform/vcl/qt/ClipbrdQt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/vcl/Clipbrd.h"
#include "platform/win/WinString.h"

namespace vclqt {
namespace {

const QString kRtf = QStringLiteral("text/rtf");
const QString kRtfAlias = QStringLiteral("application/rtf");

// Registered formats without a desktop type travel under one of ours.
QString MimeOf(UINT format) {
    return QStringLiteral("application/x-quillora-format;name=\"%1\"").arg(QString::fromStdU16String(ClipboardFormatName(format)));
}

std::string Bytes(const QByteArray& a) { return std::string(a.constData(), static_cast<std::size_t>(a.size())); }

class QtClipboardStore : public TClipboardStore {
public:
    std::vector<UINT> Formats() const override {
        std::vector<UINT> formats;
        const QMimeData* data = Data();
        if (!data) return formats;
        if (data->hasText()) formats.push_back(CF_UNICODETEXT);
        if (data->hasHtml()) formats.push_back(CF_HTML());
        if (data->hasFormat(kRtf) || data->hasFormat(kRtfAlias)) formats.push_back(CF_RTF());
        for (const QString& mime : data->formats()) {
            static const QString prefix = QStringLiteral("application/x-quillora-format;name=\"");
            if (!mime.startsWith(prefix) || !mime.endsWith(u'"')) continue;
            const std::u16string name = mime.mid(prefix.size(), mime.size() - prefix.size() - 1).toStdU16String();
            formats.push_back(RegisterClipboardFormatW(name.c_str()));
        }
        return formats;
    }

    std::optional<std::string> Get(UINT format) const override {
        const QMimeData* data = Data();
        if (!data) return std::nullopt;
        if (format == CF_UNICODETEXT) {
            if (!data->hasText()) return std::nullopt;
            return ClipboardTextBytes(data->text().toStdU16String());
        }
        if (format == CF_HTML()) {
            if (!data->hasHtml()) return std::nullopt;
            return MakeClipboardHtml(Bytes(data->html().toUtf8())) + '\0';
        }
        if (format == CF_RTF()) {
            const QString mime = data->hasFormat(kRtf) ? kRtf : kRtfAlias;
            if (!data->hasFormat(mime)) return std::nullopt;
            return Bytes(data->data(mime)) + '\0';
        }
        if (ClipboardFormatName(format).empty() || !data->hasFormat(MimeOf(format))) return std::nullopt;
        return Bytes(data->data(MimeOf(format)));
    }

    void Put(const std::vector<TClipboardItem>& items) override {
        auto data = std::make_unique<QMimeData>();
        for (const TClipboardItem& i : items) {
            const std::string_view bytes = i.Bytes;
            const std::string_view text = bytes.substr(0, bytes.find('\0'));
            if (i.Format == CF_UNICODETEXT)
                data->setText(QString::fromStdU16String(ClipboardText(bytes)));
            else if (i.Format == CF_TEXT && !data->hasText())
                data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
            else if (i.Format == CF_HTML())
                data->setHtml(QString::fromStdString(ClipboardHtmlDocument(bytes)));
            else if (i.Format == CF_RTF())
                data->setData(kRtf, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
            else if (!ClipboardFormatName(i.Format).empty())
                data->setData(MimeOf(i.Format), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        }
        QGuiApplication::clipboard()->setMimeData(data.release());  // the clipboard owns it
    }

private:
    static const QMimeData* Data() { return QGuiApplication::clipboard()->mimeData(); }
};

}  // namespace

void InstallQtClipboard() { SetClipboardStore(std::make_unique<QtClipboardStore>()); }

}  // namespace vclqt
