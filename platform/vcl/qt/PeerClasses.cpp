#include "platform/vcl/qt/PeerClasses.h"

#include <map>

#include "platform/vcl/Controls.h"


namespace vclqt {
namespace {

std::map<WideString, PeerFactory>& Registry() {
    static std::map<WideString, PeerFactory> registry;
    return registry;
}

WideString Key(const WideString& name) {
    WideString key = name;
    for (char16_t& c : key)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return key;
}

int foreignLoops = 0;

}  // namespace

void RegisterPeerClass(const WideString& winClassName, PeerFactory factory) { Registry()[Key(winClassName)] = std::move(factory); }

std::unique_ptr<TWidgetPeer> CreateRegisteredPeer(TWinControl& control, const TCreateParams& params, PeerWidget* parent) {
    const auto it = Registry().find(Key(params.WinClassName));
    if (it == Registry().end()) return nullptr;
    return it->second(control, params, parent);
}

void RegisterAllPeerClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    // Each unit's Qt file adds its registration here.
    RegisterHintWindowPeers();
    RegisterRichEditPeers();
    RegisterListViewPeers();
    RegisterHeaderControlPeers();
    RegisterTreeViewPeers();
    RegisterPageControlPeers();
    RegisterDateTimePickerPeers();
    RegisterStdCtrlsPeers();
    RegisterExtCtrlsPeers();
    RegisterRangeCtrlsPeers();
    RegisterPopupPeers();
}

ForeignLoopScope::ForeignLoopScope() { ++foreignLoops; }
ForeignLoopScope::~ForeignLoopScope() { --foreignLoops; }
bool InForeignLoop() { return foreignLoops > 0; }

}  // namespace vclqt
