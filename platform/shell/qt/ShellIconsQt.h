// Makes the toolkit's icon theme the picture source of shell items (platform/shell/ShellIcons.h).
#pragma once

void InstallQtShellIcons();
