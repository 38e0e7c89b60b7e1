// Qt peers by window class name. A control names its kind in CreateParams (WinClassName:
// "EDIT", "BUTTON", "SysListView32" ...); the Qt widget set makes the registered peer for that
// name, else a plain PeerWidget that the control paints itself. Each unit's Qt file registers
// its peers in a Register...Peers function that RegisterAllPeerClasses calls.
#pragma once

#include <functional>
#include <memory>

#include "platform/vcl/WidgetSet.h"

namespace vclqt {

class PeerWidget;

using PeerFactory = std::function<std::unique_ptr<TWidgetPeer>(TWinControl& control, const TCreateParams& params, PeerWidget* parent)>;

// Window class names compare without regard to case, as on the original platform.
void RegisterPeerClass(const WideString& winClassName, PeerFactory factory);
// The registered peer for params.WinClassName, or null when none is registered.
std::unique_ptr<TWidgetPeer> CreateRegisteredPeer(TWinControl& control, const TCreateParams& params, PeerWidget* parent);
// Registers the peers of every unit; the widget set calls it once.
void RegisterAllPeerClasses();
void RegisterHintWindowPeers();
// Non-activating popup windows, and local loops' view of input (InputFilter.h).
void RegisterPopupPeers();
void RegisterRichEditPeers();
void RegisterListViewPeers();
void RegisterHeaderControlPeers();
void RegisterTreeViewPeers();
void RegisterPageControlPeers();
void RegisterDateTimePickerPeers();

// The peers of the standard controls ("EDIT", "BUTTON", "COMBOBOX", "LISTBOX", "SCROLLBAR")
// and the desktop-styled frame painter.
void RegisterStdCtrlsPeers();
// The scroll box.
void RegisterExtCtrlsPeers();
// Progress bars, track bars and up-down buttons.
void RegisterRangeCtrlsPeers();

// While a loop of Qt's own runs (a dialog's exec, a menu's popup), posted messages of the class
// library are delivered from inside it. Hold one around every such exec.
class ForeignLoopScope {
public:
    ForeignLoopScope();
    ~ForeignLoopScope();
    ForeignLoopScope(const ForeignLoopScope&) = delete;
    ForeignLoopScope& operator=(const ForeignLoopScope&) = delete;
};
bool InForeignLoop();

}  // namespace vclqt
