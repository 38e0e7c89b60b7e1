// The Qt side of the common dialogs: file, folder, print, font and input dialogs for the
// requests the modal hook leaves unanswered.
#pragma once

namespace vclqt {

// Makes the Qt dialogs the runner of Dialogs.h; the widget set calls it once.
void InstallQtDialogs();

}  // namespace vclqt
