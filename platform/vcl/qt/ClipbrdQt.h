// The desktop's clipboard as the store of Clipbrd.h: text, "HTML Format" as text/html and
// "Rich Text Format" as text/rtf, other registered formats under a MIME type of their own.
#pragma once

namespace vclqt {

// Makes QClipboard the clipboard's store; the widget set calls it once.
void InstallQtClipboard();

}  // namespace vclqt
