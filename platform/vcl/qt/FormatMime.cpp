#include "platform/vcl/qt/FormatMime.h"

#include <algorithm>
#include <span>

#include <QMimeData>

#include "platform/com/DataObject.h"
#include "platform/com/DropFilesBlock.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/win/FileNameText.h"
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

// The desktop's file managers mark files put on the clipboard as cut or copied.
const QString kCopiedFiles = QStringLiteral("x-special/gnome-copied-files");
const QString kCutSelection = QStringLiteral("application/x-kde-cutselection");

UINT PreferredDropEffectFormat() {
    static const UINT format = RegisterClipboardFormatW(u"Preferred DropEffect");
    return format;
}

const QString kUriList = QStringLiteral("text/uri-list");

// File URLs carry a name's bytes percent-encoded, whether or not they are UTF-8; a QString
// (QUrl's paths) would put U+FFFD in place of bytes that are not, so they are written and
// read here as bytes.
QByteArray FileUri(const WideString& name) {
    const std::string bytes = FileNameFromUtf16(name);
    return "file://" + QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toPercentEncoding("/");
}

// The file a URI names; none for other schemes and other hosts.
std::optional<WideString> FileOfUri(QByteArray uri) {
    uri = uri.trimmed();
    if (!uri.startsWith("file://")) return std::nullopt;
    QByteArray path = uri.mid(7);
    if (path.startsWith("localhost/")) path = path.mid(9);
    if (!path.startsWith('/')) return std::nullopt;
    const QByteArray bytes = QByteArray::fromPercentEncoding(path);
    return FileNameToUtf16(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// The URIs of a list, one a line, without comments.
QList<QByteArray> UriLines(const QByteArray& list) {
    QList<QByteArray> uris;
    for (const QByteArray& line : list.split('\n'))
        if (const QByteArray l = line.trimmed(); !l.isEmpty() && !l.startsWith('#')) uris.push_back(l);
    return uris;
}

// The marker's lines: "cut" or "copy", then one URL a line.
QList<QByteArray> CopiedFilesLines(const QMimeData& data) {
    if (!data.hasFormat(kCopiedFiles)) return {};
    QList<QByteArray> lines = data.data(kCopiedFiles).split('\n');
    for (QByteArray& l : lines) l = l.trimmed();
    return lines;
}

std::vector<WideString> LocalFiles(const QMimeData& data) {
    QList<QByteArray> uris = UriLines(data.data(kUriList));
    if (uris.isEmpty()) uris = CopiedFilesLines(data).mid(1);
    std::vector<WideString> files;
    for (const QByteArray& uri : uris)
        if (std::optional<WideString> file = FileOfUri(uri)) files.push_back(std::move(*file));
    return files;
}

// What the desktop's markers say of the files: DROPEFFECT_MOVE for cut, DROPEFFECT_COPY for
// copied, 0 without a marker.
DWORD MarkedEffect(const QMimeData& data) {
    if (const QList<QByteArray> lines = CopiedFilesLines(data); !lines.isEmpty())
        return lines[0] == "cut" ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    if (data.hasFormat(kCutSelection)) return data.data(kCutSelection).trimmed() == "1" ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    return 0;
}

// Once the files and our preferred effect are both set, the desktop's markers follow them.
void MarkCopiedFiles(QMimeData& data) {
    const QString effectMime = MimeOf(PreferredDropEffectFormat());
    const QList<QByteArray> uris = UriLines(data.data(kUriList));
    if (uris.isEmpty() || !data.hasFormat(effectMime)) return;
    const QByteArray e = data.data(effectMime);
    if (e.size() < 4) return;
    const DWORD effect = static_cast<std::uint8_t>(e[0]) | (static_cast<std::uint8_t>(e[1]) << 8);
    const bool cut = (effect & DROPEFFECT_MOVE) && !(effect & DROPEFFECT_COPY);
    QByteArray marker = cut ? "cut" : "copy";
    for (const QByteArray& uri : uris) marker += '\n' + uri;
    data.setData(kCopiedFiles, marker);
    data.setData(kCutSelection, cut ? "1" : "0");
}

}  // namespace

std::vector<UINT> FormatsOfMime(const QMimeData& data) {
    std::vector<UINT> formats;
    if (!LocalFiles(data).empty()) formats.push_back(CF_HDROP);
    if (MarkedEffect(data)) formats.push_back(PreferredDropEffectFormat());
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
    if (format == PreferredDropEffectFormat() && !data.hasFormat(MimeOf(format))) {
        const DWORD effect = MarkedEffect(data);
        if (!effect) return std::nullopt;
        return std::string{static_cast<char>(effect), 0, 0, 0};
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
        QByteArray list;
        const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
        for (const WideString& file : ReadDropFilesBlock(std::span(raw, bytes.size()))) list += FileUri(file) + "\r\n";
        if (!list.isEmpty()) data.setData(kUriList, list);
        MarkCopiedFiles(data);
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
        if (format == PreferredDropEffectFormat()) MarkCopiedFiles(data);
    }
}

}  // namespace vclqt
