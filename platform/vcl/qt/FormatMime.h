// Clipboard formats as the desktop's MIME data, shared by the clipboard and drag and drop:
// text as text/plain, "HTML Format" as text/html, "Rich Text Format" as text/rtf, the
// drop-files list (CF_HDROP) as a text/uri-list of file URLs (with the desktop file managers'
// cut-or-copied marker when a preferred drop effect goes with it), other registered formats
// under a MIME type of their own.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QStringList>

#include "platform/win/WinTypes.h"

class QMimeData;

namespace vclqt {

// The formats the data offers, each once.
std::vector<UINT> FormatsOfMime(const QMimeData& data);
// The content of a format as a global block would hold it; none when the data lacks it.
std::optional<std::string> FormatFromMime(const QMimeData& data, UINT format);
// The MIME types a format is offered under (none for formats without one).
QStringList MimeTypesOfFormat(UINT format);
// Adds the content of a format (formats the desktop has no type for are skipped).
void FormatToMime(QMimeData& data, UINT format, std::string_view bytes);

}  // namespace vclqt
