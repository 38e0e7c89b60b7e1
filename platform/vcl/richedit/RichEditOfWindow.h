// A rich edit's document reached through its window handle, for code that knows the control
// only by its window and cannot see the class library's headers (a message record putting
// pictures into the body it was shown in).
#pragma once

#include <functional>

namespace richtext {
class RichTextDocument;
}

struct HWND__;
using HWND = HWND__*;

// Runs change on the document of the rich edit whose window is `window`, then has the control
// show the changed document. False when the window is no rich edit.
bool ChangeRichEditDocument(HWND window, const std::function<void(richtext::RichTextDocument&)>& change);
