// The favorites pane's dialogs as one set, made once for the run and reused for every showing.
#pragma once

// Registers the pane's and the dialogs' classes and the controls their form files use.
void RegisterFavoritesForms();
// Creates frmNewFolder, uxFolderProperties, frmAddItem and frmSelectFolder through the
// application, which frees them at the end of the run. Registers the classes first.
void CreateFavoritesDialogForms();
