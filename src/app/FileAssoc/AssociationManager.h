// The file-association front: the one implementation for this desktop, with every failure
// kept from its callers (logged, never shown).
#pragma once

#include <memory>

#include "app/FileAssoc/IFileAssociation.h"

class AssociationManager : public IFileAssociation {
public:
    AssociationManager();
    // For tests: a given implementation.
    explicit AssociationManager(std::unique_ptr<IFileAssociation> impl);

    // False on any failure.
    bool IsAssociated(const WideString& progId, const WideString& extension, bool allUsers) override;
    // A failure is logged and otherwise ignored.
    void SetAssociation(const WideString& progId, const WideString& extension, bool allUsers) override;

private:
    std::unique_ptr<IFileAssociation> impl_;
};
