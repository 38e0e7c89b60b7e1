#include "favorites/FavoritesDialogForms.h"

#include "controls/shell/RzShellTree.h"
#include "controls/styled/RzStyledControls.h"
#include "controls/unicode/TntRegisterClasses.h"
#include "favorites/frmAddItem.h"
#include "favorites/frmFavorites.h"
#include "favorites/frmNewFolder.h"
#include "favorites/frmSelectFolder.h"
#include "favorites/uxFolderProperties.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/VclClasses.h"

void RegisterFavoritesForms() {
    RegisterVclClasses();
    RegisterTntClasses();
    RegisterStyledControls();
    RegisterShellControls();
    RegisterClasses({&TfrmFavorites::StaticClass(), &TfrmNewFolder::StaticClass(), &TuxFolderProperties::StaticClass(),
                     &TfrmAddItem::StaticClass(), &TfrmSelectFolder::StaticClass()});
}

void CreateFavoritesDialogForms() {
    RegisterFavoritesForms();
    Application->CreateForm(frmNewFolder);
    Application->CreateForm(uxFolderProperties);
    Application->CreateForm(frmAddItem);
    Application->CreateForm(frmSelectFolder);
}
