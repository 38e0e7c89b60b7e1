// The third demonstration form: a styled page control with several tabs, its close button and
// scroller, and a status pane showing progress.
#pragma once

// Shows the form until it is closed, or with a screenshot path saves a picture of it and ends.
int RunTabsDemo(const char* screenshot);
