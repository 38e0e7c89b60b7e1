// Styled combo boxes: completion in the edit, a framed owner-drawn list, flat and read-only
// boxes, and an image combo box with its indented list dropped down.
#pragma once

int RunCombosDemo(const char* screenshot);
