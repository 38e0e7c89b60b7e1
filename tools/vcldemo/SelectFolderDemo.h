// The select-folder dialog over a temporary folder tree, with its create and delete buttons.
#pragma once

int RunSelectFolderDemo(const char* screenshot);
