// The main window's small dialogs as one set: their classes made known to form files, and
// their global instances created for the run.
#pragma once

// Registers the dialogs' classes and the controls their form files use.
void RegisterDialogForms();
// Creates AboutDlg, OpenAttachmentDlg, SelectFolderDlg, csvExportDlg and SettingsDlg through
// the application, which frees them at the end of the run. Registers the classes first.
void CreateDialogForms();
