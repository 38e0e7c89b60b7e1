#include "platform/outside/rdo/RdoObjects.h"

HRESULT CreateRDOSession(std::shared_ptr<IRDOSession>& session) {
    // No desktop carries the library or a mail profile for it to open.
    session.reset();
    return REGDB_E_CLASSNOTREG;
}
