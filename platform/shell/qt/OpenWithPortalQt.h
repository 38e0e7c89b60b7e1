// The desktop portal's application chooser as the "Open With" of platform/shell/OpenWith.h,
// over the session bus.
#pragma once

void InstallOpenWithPortal();
