#include "app/FileAssoc/AssociationManager.h"

#include <exception>

#include "app/FileAssoc/XdgFileAssociation.h"
#include "app/cLogger.h"
#include "platform/win/WinString.h"

AssociationManager::AssociationManager() : impl_(std::make_unique<XdgFileAssociation>()) {}

AssociationManager::AssociationManager(std::unique_ptr<IFileAssociation> impl) : impl_(std::move(impl)) {}

bool AssociationManager::IsAssociated(const WideString& progId, const WideString& extension, bool allUsers) {
    try {
        return impl_ && impl_->IsAssociated(progId, extension, allUsers);
    } catch (const std::exception& e) {
        LogPrintf(u"IsAssociated failed: %hs", e.what());
    } catch (...) {
        LogPrintf(u"IsAssociated failed");
    }
    return false;
}

void AssociationManager::SetAssociation(const WideString& progId, const WideString& extension, bool allUsers) {
    try {
        if (impl_) impl_->SetAssociation(progId, extension, allUsers);
    } catch (const std::exception& e) {
        LogPrintf(u"SetAssociation failed: %hs", e.what());
    } catch (...) {
        LogPrintf(u"SetAssociation failed");
    }
}
