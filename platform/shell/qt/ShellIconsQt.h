// Makes the toolkit's icon theme and MIME database the picture and type-name sources of shell
// items (platform/shell/ShellIcons.h).
#pragma once

void InstallQtShellIcons();
