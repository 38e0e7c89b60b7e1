// The fourth demonstration form, read from its form file: a styled toolbar of image buttons
// with their captions under the pictures, each bound to an action, over a status bar.
#pragma once

// Shows the form until it is closed, or with a screenshot path saves a picture of it and ends.
int RunToolbarDemo(const char* screenshot);
