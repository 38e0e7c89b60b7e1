// The listed messages of a window or a run, in list order. Whether the container owns the
// records is said by each holder; a filled copy handed out never does.
#pragma once

#include <deque>

class TMessageAttr;

using MessageAttrDeque = std::deque<TMessageAttr*>;
