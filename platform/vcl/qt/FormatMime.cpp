#include "platform/vcl/qt/FormatMime.h"

#include <algorithm>
#include <span>

#include <QMimeData>
#include <QUrl>

#include "platform/com/DropFilesBlock.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/win/WinString.h"

namespace vclqt {
namespace {

const QString kRtf = QStringLiteral("text/rtf");
const QString kRtfAlias = QStringLiteral("application/rtf");
const QString kPrivatePrefix = QStringLiteral("application/x-quillora-format;name=\"");

// Registered formats without a desktop type travel under one of ours.
QString MimeOf(UINT format) {
    return kPrivatePrefix + QString::fromStdU16String(ClipboardFormatName(format)) + u'"';
}

std::string Bytes(const QByteArray& a) { return std::string(a.constData(), static_cast<std::size_t>(a.size())); }

std::vector<WideString> LocalFiles(const QMimeData& data) {
    std::vector<WideString> files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdU16String());
    return files;
}

}  // namespace

std::vector<UINT> FormatsOfMime(const QMimeData& data) {
    std::vector<UINT> formats;
    if (!LocalFiles(data).empty()) formats.push_back(CF_HDROP);
    if (data.hasText()) formats.push_back(CF_UNICODETEXT);
    if (data.hasHtml()) formats.push_back(CF_HTML());
    if (data.hasFormat(kRtf) || data.hasFormat(kRtfAlias)) formats.push_back(CF_RTF());
    for (const QString& mime : data.formats()) {
        if (!mime.startsWith(kPrivatePrefix) || !mime.endsWith(u'"')) continue;
        const std::u16string name = mime.mid(kPrivatePrefix.size(), mime.size() - kPrivatePrefix.size() - 1).toStdU16String();
        const UINT format = RegisterClipboardFormatW(name.c_str());
        if (format && std::find(formats.begin(), formats.end(), format) == formats.end()) formats.push_back(format);
    }
    return formats;
}

std::optional<std::string> FormatFromMime(const QMimeData& data, UINT format) {
    if (format == CF_HDROP) {
        const std::vector<std::uint8_t> block = BuildDropFilesBlock(LocalFiles(data), true);
        if (block.empty()) return std::nullopt;
        return std::string(block.begin(), block.end());
    }
    if (format == CF_UNICODETEXT) {
        if (!data.hasText()) return std::nullopt;
        return ClipboardTextBytes(data.text().toStdU16String());
    }
    if (format == CF_TEXT) {
        if (!data.hasText()) return std::nullopt;
        return Bytes(data.text().toUtf8()) + '\0';
    }
    if (format == CF_HTML()) {
        if (!data.hasHtml()) return std::nullopt;
        return MakeClipboardHtml(Bytes(data.html().toUtf8())) + '\0';
    }
    if (format == CF_RTF()) {
        const QString mime = data.hasFormat(kRtf) ? kRtf : kRtfAlias;
        if (!data.hasFormat(mime)) return std::nullopt;
        return Bytes(data.data(mime)) + '\0';
    }
    if (ClipboardFormatName(format).empty() || !data.hasFormat(MimeOf(format))) return std::nullopt;
    return Bytes(data.data(MimeOf(format)));
}

QStringList MimeTypesOfFormat(UINT format) {
    if (format == CF_HDROP) return {QStringLiteral("text/uri-list")};
    if (format == CF_UNICODETEXT || format == CF_TEXT) return {QStringLiteral("text/plain")};
    if (format == CF_HTML()) return {QStringLiteral("text/html")};
    if (format == CF_RTF()) return {kRtf};
    if (ClipboardFormatName(format).empty()) return {};
    return {MimeOf(format)};
}

void FormatToMime(QMimeData& data, UINT format, std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    if (format == CF_HDROP) {
        QList<QUrl> urls;
        const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
        for (const WideString& file : ReadDropFilesBlock(std::span(raw, bytes.size())))
            urls.push_back(QUrl::fromLocalFile(QString::fromStdU16String(file)));
        if (!urls.isEmpty()) data.setUrls(urls);
    } else if (format == CF_UNICODETEXT) {
        data.setText(QString::fromStdU16String(ClipboardText(bytes)));
    } else if (format == CF_TEXT && !data.hasText()) {
        data.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    } else if (format == CF_HTML()) {
        data.setHtml(QString::fromStdString(ClipboardHtmlDocument(bytes)));
    } else if (format == CF_RTF()) {
        data.setData(kRtf, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    } else if (!ClipboardFormatName(format).empty()) {
        data.setData(MimeOf(format), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
}

}  // namespace vclqt
