// Property types several styled controls share: one declaration each, so any of their headers
// can be included together.
#pragma once

#include "platform/vcl/TypInfo.h"

// Whether a control frames itself or leaves it to the desktop's theme.
enum TFramingPreference { fpCustomFraming, fpXPThemes };
QUILLORA_ENUM_TYPEINFO(TFramingPreference, "fpCustomFraming", "fpXPThemes")

// Where a hot-track colour comes from: its complement, or as given.
enum TRzHotTrackColorType { htctComplement, htctActual };
QUILLORA_ENUM_TYPEINFO(TRzHotTrackColorType, "htctComplement", "htctActual")

// How captions are drawn: plain, raised, recessed or with a shadow.
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
QUILLORA_ENUM_TYPEINFO(TTextStyle, "tsNormal", "tsRaised", "tsRecessed", "tsShadow")
