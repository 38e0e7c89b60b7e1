// The third demonstration form: the Unicode layer's controls from their form file, with
// Cyrillic, Greek, CJK and emoji text in the caption, a menu, a list, a tree and rich text.
#pragma once

// Shows the form until it is closed, or with a screenshot path saves a picture of it and ends.
int RunUnicodeDemo(const char* screenshot);
