#pragma once

// A date edit with its calendar dropped down, a time edit and a styled status bar.
int RunDatesDemo(const char* screenshot);
