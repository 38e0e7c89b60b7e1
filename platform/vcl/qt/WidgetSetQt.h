// The Qt 6 widget set: every windowed control gets a QWidget peer whose input becomes window
// messages through the control's WindowProc, and whose paint events paint the control on a
// device context over the widget's painter. Install it once at start-up.
#pragma once

// Makes the QApplication when none exists yet (owned by the widget set), installs the drawing
// interface's Qt side and makes the Qt widget set the one in use.
void InstallQtWidgetSet();
