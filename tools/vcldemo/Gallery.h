// vcldemo --gallery out.png: every frame style, glyph, gradient and progress bar of the styled
// controls' drawing helpers, and a framed tree and a framed list with a few rows.
#pragma once

int RunGallery(const char* path);
