#include "platform/vcl/WidgetSet.h"
#include "platform/vcl/WinUser.h"

SHORT GetKeyState(int virtualKey) {
    return WidgetSet().KeyDown(virtualKey) ? static_cast<SHORT>(0x8000) : 0;
}
