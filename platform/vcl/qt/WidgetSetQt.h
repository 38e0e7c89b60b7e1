// The Qt 6 widget set: every windowed control gets a QWidget peer whose input becomes window
// messages through the control's WindowProc, and whose paint events paint the control on a
// device context over the widget's painter. Install it once at start-up.
#pragma once

// Called instead of the toolkit's abort when it cannot start on its display (named but gone,
// or refusing the connection), with the toolkit's own words; it must end the process.
using ToolkitStartFailure = void (*)(const char* reason);

// Makes the QApplication when none exists yet (owned by the widget set), installs the drawing
// interface's Qt side and makes the Qt widget set the one in use.
void InstallQtWidgetSet(ToolkitStartFailure onStartFailure = nullptr);
