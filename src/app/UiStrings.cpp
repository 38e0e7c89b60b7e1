#include "app/UiStrings.h"

#include <array>

#include "platform/win/StringResources.h"

namespace {

const std::array<UiText, 158> kTexts = {{
    {1000, u"Loading messages"},
    {1001, u"Ready"},
    {1002, u"Messages"},
    {1003, u"Message Headers"},
    {1004, u"Text Files"},
    {1005, u"Html Files"},
    {1006, u"Can not determine operating system version"},
    {1007, u"Error"},
    {1008, u"System can not load specified file "},
    {1009, u"Search path: "},
    {1010, u"Load dll error"},
    {1011, u"Required file libquillora-utils.so can't be loaded.\nPlease reinstall application."},
    {1013, u"Messages found: 0"},
    {1014, u"All Message Files"},
    {1015, u"Outlook Express EML Files"},
    {1016, u"Outlook MSG Files"},
    {1017, u"Outlook PST Files"},
    {1018, u"Attachment"},
    {1019, u"Recipient"},
    {1020, u"There are no files to export"},
    {1021, u"No files"},
    {1022, u"CSV Files"},
    {1023, u"Path"},
    {1024, u"From"},
    {1025, u"Subject"},
    {1026, u"Date"},
    {1027, u"To"},
    {1028, u"CC"},
    {1029, u"Body"},
    {1030, u"All files were exported successfully."},
    {1031, u"Completed"},
    {1032, u"Messages found: "},
    {1033, u"MSG Files"},
    {1034, u"Message Type: "},
    {1035, u"Task"},
    {1036, u"Contact"},
    {1037, u"Appointment"},
    {1038, u"Due: "},
    {1039, u"Start Date: "},
    {1040, u"Priority: "},
    {1041, u"Importance: "},
    {1042, u"Notes: "},
    {1043, u"Location: "},
    {1044, u"To: "},
    {1045, u"Begin Date: "},
    {1046, u"End Date: "},
    {1047, u"Alarm Time: "},
    {1048, u"Name: "},
    {1049, u"Company: "},
    {1050, u"Address: "},
    {1051, u"Office Location: "},
    {1052, u"Department Name: "},
    {1053, u"Profession: "},
    {1054, u"Business Phone: "},
    {1055, u"Home Phone: "},
    {1056, u"Cell Phone: "},
    {1057, u"Business Fax: "},
    {1058, u"Email "},
    {1059, u"Business Home Page: "},
    {1060, u"Spouse: "},
    {1061, u"Anniversary: "},
    {1062, u"EML Files"},
    {1063, u"Select folder, please"},
    {1064, u"Select folder"},
    {1065, u"Copied: %d files of %d"},
    {1066, u"%d of %d files copied successfully "},
    {1067, u"Copy"},
    {1068, u"Files were not copied"},
    {1069, u"It is only possible to rename "},
    {1070, u" files with your current options."},
    {1071, u"There are "},
    {1072, u" files in your directory. Please extend number range before trying again"},
    {1073, u"File naming"},
    {1074, u"Renaming files, please wait"},
    {1075, u"All files renamed successfully"},
    {1077, u"Invalid number"},
    {1078, u"Please enter positive integer number"},
    {1079, u"Received: "},
    {1080, u"Message file: "},
    {1081, u"All files exported successfully"},
    {1082, u"Some files were not exported"},
    {1083, u"Searching..."},
    {1084, u"Can not load export library 'BCom.dll'. Export to PDF and image formats will "
            u"not be possible. Please reinstall application."},
    {1085, u"Reading folders, please wait..."},
    {1086, u"All Files"},
    {1087, u"Quillora Pro"},
    {1090, u"Attendees: "},
    {1091, u"of"},
    {1092, u"Exporting..."},
    {1093, u"Operation aborted"},
    {1097, u"Since you have chosen 'Custom' language, you need to select valid language "
            u"file, or choose one of the \npredefined languages."},
    {1098, u"Error saving attachment "},
    {1099, u"Microsoft Exchange server addresses cannot be resolved by Quillora Pro.\nIf "
            u"your email client is unable to resolve these addresses, they should be removed "
            u"from the recipient\u2019s list."},
    {1100, u"Error loading message."},
    {1101, u"Warning: This will rename all files in selected folder. Renaming files is not "
            u"reversible. Are you sure you want to continue?"},
    {1102, u"Error: can't print to specified printer."},
    {1103, u"Sent"},
    {1104, u"Copying emails"},
    {1105, u"Printing emails"},
    {1106, u"Printed: %d files of %d"},
    {1107, u"%d of %d files printed successfully "},
    {1108, u"Files were not printed"},
    {1109, u"Print"},
    {1110, u"Can't create PDF converter"},
    {1111, u"Can't create folder \"%s\" for message \"%s\""},
    {1112, u"Can't export attachments from message \"%s\""},
    {1113, u"Can't load message \"%s\""},
    {1114, u"Can't export message \"%s\" to plain text"},
    {1115, u"Can't prepare HTML message \"%s\" for export: error saving file"},
    {1116, u"Fatal error: can't export files to specified folder"},
    {1117, u"Fatal error: can't get next message for export. Please restart application."},
    {1118, u"Fatal error: too many errors during export, aborting"},
    {1119, u"Error exporting message \"%s\" to PDF"},
    {1120, u"Error saving PDF file \"%s\""},
    {1121, u"Can't create folder to copy failed messages, copying disabled. Please contact "
            u"system administrator."},
    {1122, u"Error saving image file \"%s\""},
    {1123, u"Error exporting message \"%s\" to image"},
    {1124, u"WARNING: Message %s has no plain text body and can not be exported to plain "
            u"text properly. Please use image or pdf format."},
    {1126, u"File is empty."},
    {1127, u"Some messages selected for removal are a part of Microsoft Outlook .PST message "
            u"store. Do you want to remove such selected messages from store?"},
    {1128, u"Some messages selected for removal are a part of Microsoft Outlook .PST message "
            u"store and can not be removed. Please use Microsoft Outlook to remove these "
            u"messages from store."},
    {1129, u"Remaining time: "},
    {1130, u"Sent: "},
    {1131, u"Created: "},
    {1132, u"Error: logon to mail client failed. Please make sure your default mail client "
            u"is properly configured to send and receive mail."},
    {1133, u"Error: Some files were not renamed. Please check your access permissions."},
    {1134, u"Error: No files were renamed. Please check your access permissions."},
    {1135, u"Not enough disk space."},
    {1136, u"Disk error."},
    {1137, u"Not enough resources."},
    {1138, u"Access denied."},
    {1139, u"Too many files for current naming scheme, please change naming scheme settings."},
    // Texts the windows compose at run time, after the original table.
    {1140, u"The language file \"%s\" cannot be read. The texts on screen stay as they are."},
    {1141, u"The language file is missing: %s"},
    {1142, u"Loading\u2026"},
    {1143, u"Date:"},
    {1144, u"CC:"},
    {1145, u"Favorites"},
    {1146, u"There is no favorites folder to keep a copy of the message in."},
    {1147, u"The message could not be copied into the favorites folder:\n%s"},
    {1148, u"Are you sure you want to remove  message '%s' ?"},
    {1149, u"Are you sure you want to remove  folder '%s' and all it's contents?"},
    {1150, u"Are you sure you want to remove '%s'"},
    {1151, u"Deleting item"},
    {1152, u"Root folder"},
    {1153, u"The favorites were not saved: the favorites file could not be read and is left as it is.\n%s"},
    {1154, u"Can't make shortcut to virtual folder"},
    {1155, u"New Shortcut"},
    {1156, u"Are you sure you want to delete %d items?"},
    {1157, u"Deleting items"},
    {1158, u"These files could not be read as messages and were not added:%s"},
    {1159, u"The desktop could not open %s"},
    {1160, u"Could not write %s"},
    {1161, u"Move \"%s\" to the trash?"},
    {1162, u"Move these %d files to the trash?"},
    {1163, u"These files could not be moved to the trash:%s"},
    {1164, u"Text files"},
    {1165, u"The file \"%s\" could not be written: %s"},
}};

// Registered at start-up as well, so that LoadStringW knows the texts before anyone asks.
const bool kRegisteredAtStart = (RegisterUiStrings(), true);

}  // namespace

std::span<const UiText> BuiltInUiTexts() {
    return kTexts;
}

void RegisterUiStrings() {
    static const bool registered = [] {
        for (const UiText& t : kTexts) RegisterStringTable({{t.id, t.text}});
        return true;
    }();
    (void)registered;
}
