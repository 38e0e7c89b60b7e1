// How list and tree views keep their items sorted; one type for both families.
#pragma once

#include "platform/vcl/TypInfo.h"

enum TSortType { stNone, stData, stText, stBoth };
QUILLORA_ENUM_TYPEINFO(TSortType, "stNone", "stData", "stText", "stBoth")
