// The web-browser control's peer over Qt WebEngine: scripts off, every request that is not
// local refused, links opened in the desktop's browser. Call once after the Qt widget set is
// installed; without it the control completes navigations without showing them.
#pragma once

#include <vector>

#include "platform/win/WinTypes.h"

void InstallWebBrowser();

// The remote URLs the browser refused since start-up (newest last), for the trace and tests.
std::vector<WideString> RefusedWebRequests();
