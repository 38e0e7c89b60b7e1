// The second demonstration form: one of each control of the class library, read from its form
// file, with a 100,000-row owner-data list, a folder tree, a rich-text body and an HTML view.
#pragma once

// Shows the form until it is closed, or with a screenshot path saves a picture of it and ends.
int RunControlsDemo(const char* screenshot);
