// A shell tree over a temporary folder tree, a folder selected below a hidden one's sibling.
#pragma once

// Shows the form until it is closed, or with a screenshot path saves a picture of it and ends.
int RunShellDemo(const char* screenshot);
