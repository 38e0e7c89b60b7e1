// Property types, property tags and the flag values of the MAPI layer.
// A tag is the property id in its high 16 bits and the property type in its low 16 bits.
#pragma once

#include "platform/win/WinTypes.h"

using SCODE = HRESULT;
using ULONG_PTR = std::uintptr_t;

inline constexpr ULONG PROP_TAG(ULONG type, ULONG id) { return (id << 16) | type; }
inline constexpr ULONG PROP_TYPE(ULONG tag) { return tag & 0xFFFFu; }
inline constexpr ULONG PROP_ID(ULONG tag) { return tag >> 16; }
inline constexpr ULONG CHANGE_PROP_TYPE(ULONG tag, ULONG type) { return (tag & 0xFFFF0000u) | type; }

inline constexpr ULONG PT_UNSPECIFIED = 0x0000;
inline constexpr ULONG PT_NULL = 0x0001;
inline constexpr ULONG PT_I2 = 0x0002;
inline constexpr ULONG PT_LONG = 0x0003;
inline constexpr ULONG PT_R4 = 0x0004;
inline constexpr ULONG PT_DOUBLE = 0x0005;
inline constexpr ULONG PT_CURRENCY = 0x0006;
inline constexpr ULONG PT_APPTIME = 0x0007;
inline constexpr ULONG PT_ERROR = 0x000A;
inline constexpr ULONG PT_BOOLEAN = 0x000B;
inline constexpr ULONG PT_OBJECT = 0x000D;
inline constexpr ULONG PT_I8 = 0x0014;
inline constexpr ULONG PT_STRING8 = 0x001E;
inline constexpr ULONG PT_UNICODE = 0x001F;
inline constexpr ULONG PT_SYSTIME = 0x0040;
inline constexpr ULONG PT_CLSID = 0x0048;
inline constexpr ULONG PT_BINARY = 0x0102;
inline constexpr ULONG MV_FLAG = 0x1000;
inline constexpr ULONG PT_MV_LONG = MV_FLAG | PT_LONG;
inline constexpr ULONG PT_MV_I8 = MV_FLAG | PT_I8;
inline constexpr ULONG PT_MV_STRING8 = MV_FLAG | PT_STRING8;
inline constexpr ULONG PT_MV_UNICODE = MV_FLAG | PT_UNICODE;
inline constexpr ULONG PT_MV_SYSTIME = MV_FLAG | PT_SYSTIME;
inline constexpr ULONG PT_MV_CLSID = MV_FLAG | PT_CLSID;
inline constexpr ULONG PT_MV_BINARY = MV_FLAG | PT_BINARY;

inline constexpr ULONG PR_NULL = PROP_TAG(PT_NULL, 0);

// Properties of every object.
inline constexpr ULONG PR_ENTRYID = PROP_TAG(PT_BINARY, 0x0FFF);
inline constexpr ULONG PR_OBJECT_TYPE = PROP_TAG(PT_LONG, 0x0FFE);
inline constexpr ULONG PR_RECORD_KEY = PROP_TAG(PT_BINARY, 0x0FF9);
inline constexpr ULONG PR_STORE_RECORD_KEY = PROP_TAG(PT_BINARY, 0x0FFA);
inline constexpr ULONG PR_STORE_ENTRYID = PROP_TAG(PT_BINARY, 0x0FFB);
inline constexpr ULONG PR_INSTANCE_KEY = PROP_TAG(PT_BINARY, 0x0FF6);
inline constexpr ULONG PR_PARENT_ENTRYID = PROP_TAG(PT_BINARY, 0x0E09);
inline constexpr ULONG PR_DISPLAY_NAME_A = PROP_TAG(PT_STRING8, 0x3001);
inline constexpr ULONG PR_DISPLAY_NAME_W = PROP_TAG(PT_UNICODE, 0x3001);
inline constexpr ULONG PR_COMMENT_W = PROP_TAG(PT_UNICODE, 0x3004);
inline constexpr ULONG PR_CREATION_TIME = PROP_TAG(PT_SYSTIME, 0x3007);
inline constexpr ULONG PR_LAST_MODIFICATION_TIME = PROP_TAG(PT_SYSTIME, 0x3008);
inline constexpr ULONG PR_PROVIDER_DISPLAY_A = PROP_TAG(PT_STRING8, 0x3006);
inline constexpr ULONG PR_ROWID = PROP_TAG(PT_LONG, 0x3000);

// Messages.
inline constexpr ULONG PR_MESSAGE_CLASS_A = PROP_TAG(PT_STRING8, 0x001A);
inline constexpr ULONG PR_MESSAGE_CLASS_W = PROP_TAG(PT_UNICODE, 0x001A);
inline constexpr ULONG PR_SUBJECT_A = PROP_TAG(PT_STRING8, 0x0037);
inline constexpr ULONG PR_SUBJECT_W = PROP_TAG(PT_UNICODE, 0x0037);
inline constexpr ULONG PR_SUBJECT_PREFIX_W = PROP_TAG(PT_UNICODE, 0x003D);
inline constexpr ULONG PR_CLIENT_SUBMIT_TIME = PROP_TAG(PT_SYSTIME, 0x0039);
inline constexpr ULONG PR_SENT_REPRESENTING_NAME_W = PROP_TAG(PT_UNICODE, 0x0042);
inline constexpr ULONG PR_SENDER_NAME_A = PROP_TAG(PT_STRING8, 0x0C1A);
inline constexpr ULONG PR_SENDER_NAME_W = PROP_TAG(PT_UNICODE, 0x0C1A);
inline constexpr ULONG PR_SENDER_EMAIL_ADDRESS_A = PROP_TAG(PT_STRING8, 0x0C1F);
inline constexpr ULONG PR_SENDER_EMAIL_ADDRESS_W = PROP_TAG(PT_UNICODE, 0x0C1F);
inline constexpr ULONG PR_RECEIVED_BY_EMAIL_ADDRESS_A = PROP_TAG(PT_STRING8, 0x0076);
inline constexpr ULONG PR_MESSAGE_DELIVERY_TIME = PROP_TAG(PT_SYSTIME, 0x0E06);
inline constexpr ULONG PR_DISPLAY_BCC_A = PROP_TAG(PT_STRING8, 0x0E02);
inline constexpr ULONG PR_DISPLAY_BCC_W = PROP_TAG(PT_UNICODE, 0x0E02);
inline constexpr ULONG PR_DISPLAY_CC_A = PROP_TAG(PT_STRING8, 0x0E03);
inline constexpr ULONG PR_DISPLAY_CC_W = PROP_TAG(PT_UNICODE, 0x0E03);
inline constexpr ULONG PR_DISPLAY_TO_A = PROP_TAG(PT_STRING8, 0x0E04);
inline constexpr ULONG PR_DISPLAY_TO_W = PROP_TAG(PT_UNICODE, 0x0E04);
inline constexpr ULONG PR_MESSAGE_FLAGS = PROP_TAG(PT_LONG, 0x0E07);
inline constexpr ULONG PR_MESSAGE_SIZE = PROP_TAG(PT_LONG, 0x0E08);
inline constexpr ULONG PR_HASATTACH = PROP_TAG(PT_BOOLEAN, 0x0E1B);
inline constexpr ULONG PR_BODY_A = PROP_TAG(PT_STRING8, 0x1000);
inline constexpr ULONG PR_BODY_W = PROP_TAG(PT_UNICODE, 0x1000);
inline constexpr ULONG PR_RTF_IN_SYNC = PROP_TAG(PT_BOOLEAN, 0x0E1F);
inline constexpr ULONG PR_RTF_COMPRESSED = PROP_TAG(PT_BINARY, 0x1009);
inline constexpr ULONG PR_HTML = PROP_TAG(PT_BINARY, 0x1013);
inline constexpr ULONG PR_HTML_W = PROP_TAG(PT_UNICODE, 0x1013);
inline constexpr ULONG PR_TRANSPORT_MESSAGE_HEADERS_A = PROP_TAG(PT_STRING8, 0x007D);
inline constexpr ULONG PR_TRANSPORT_MESSAGE_HEADERS_W = PROP_TAG(PT_UNICODE, 0x007D);
inline constexpr ULONG PR_INTERNET_CPID = PROP_TAG(PT_LONG, 0x3FDE);
inline constexpr ULONG PR_MESSAGE_CODEPAGE = PROP_TAG(PT_LONG, 0x3FFD);
inline constexpr ULONG MSGFLAG_HASATTACH = 0x10;

// Recipients.
inline constexpr ULONG PR_RECIPIENT_TYPE = PROP_TAG(PT_LONG, 0x0C15);
inline constexpr ULONG PR_EMAIL_ADDRESS_A = PROP_TAG(PT_STRING8, 0x3003);
inline constexpr ULONG PR_EMAIL_ADDRESS_W = PROP_TAG(PT_UNICODE, 0x3003);
inline constexpr ULONG PR_ADDRTYPE_W = PROP_TAG(PT_UNICODE, 0x3002);
inline constexpr ULONG PR_SMTP_ADDRESS_W = PROP_TAG(PT_UNICODE, 0x39FE);
inline constexpr ULONG MAPI_TO = 1;
inline constexpr ULONG MAPI_CC = 2;
inline constexpr ULONG MAPI_BCC = 3;

// Attachments.
inline constexpr ULONG PR_ATTACH_NUM = PROP_TAG(PT_LONG, 0x0E21);
inline constexpr ULONG PR_ATTACH_SIZE = PROP_TAG(PT_LONG, 0x0E20);
inline constexpr ULONG PR_ATTACH_DATA_BIN = PROP_TAG(PT_BINARY, 0x3701);
inline constexpr ULONG PR_ATTACH_DATA_OBJ = PROP_TAG(PT_OBJECT, 0x3701);
inline constexpr ULONG PR_ATTACH_FILENAME_A = PROP_TAG(PT_STRING8, 0x3704);
inline constexpr ULONG PR_ATTACH_FILENAME_W = PROP_TAG(PT_UNICODE, 0x3704);
inline constexpr ULONG PR_ATTACH_METHOD = PROP_TAG(PT_LONG, 0x3705);
inline constexpr ULONG PR_ATTACH_LONG_FILENAME_W = PROP_TAG(PT_UNICODE, 0x3707);
inline constexpr ULONG PR_ATTACH_LONG_FILENAME_A = PROP_TAG(PT_STRING8, 0x3707);
inline constexpr ULONG PR_ATTACH_MIME_TAG_W = PROP_TAG(PT_UNICODE, 0x370E);
inline constexpr ULONG PR_ATTACH_PATHNAME_W = PROP_TAG(PT_UNICODE, 0x3708);
inline constexpr ULONG PR_ATTACH_RENDERING = PROP_TAG(PT_BINARY, 0x3709);
inline constexpr ULONG PR_ATTACH_TRANSPORT_NAME_W = PROP_TAG(PT_UNICODE, 0x370C);
inline constexpr ULONG PR_ATTACH_CONTENT_ID_A = PROP_TAG(PT_STRING8, 0x3712);
inline constexpr ULONG PR_ATTACH_CONTENT_ID_W = PROP_TAG(PT_UNICODE, 0x3712);
inline constexpr ULONG PR_ATTACH_CONTENT_LOCATION_A = PROP_TAG(PT_STRING8, 0x3713);
inline constexpr ULONG PR_RENDERING_POSITION = PROP_TAG(PT_LONG, 0x370B);
inline constexpr ULONG NO_ATTACHMENT = 0;
inline constexpr ULONG ATTACH_BY_VALUE = 1;
inline constexpr ULONG ATTACH_EMBEDDED_MSG = 5;
inline constexpr ULONG ATTACH_OLE = 6;

// Folders and containers.
inline constexpr ULONG PR_CONTENT_COUNT = PROP_TAG(PT_LONG, 0x3602);
inline constexpr ULONG PR_CONTENT_UNREAD = PROP_TAG(PT_LONG, 0x3603);
inline constexpr ULONG PR_SUBFOLDERS = PROP_TAG(PT_BOOLEAN, 0x360A);
inline constexpr ULONG PR_CONTAINER_HIERARCHY = PROP_TAG(PT_OBJECT, 0x360E);
inline constexpr ULONG PR_CONTAINER_CONTENTS = PROP_TAG(PT_OBJECT, 0x360F);
inline constexpr ULONG PR_FOLDER_TYPE = PROP_TAG(PT_LONG, 0x3601);
inline constexpr ULONG PR_CONTAINER_CLASS_A = PROP_TAG(PT_STRING8, 0x3613);
inline constexpr ULONG PR_CONTAINER_CLASS_W = PROP_TAG(PT_UNICODE, 0x3613);
inline constexpr ULONG PR_MESSAGE_ATTACHMENTS = PROP_TAG(PT_OBJECT, 0x0E13);
inline constexpr ULONG PR_MESSAGE_RECIPIENTS = PROP_TAG(PT_OBJECT, 0x0E12);

// Message stores.
inline constexpr ULONG PR_STORE_SUPPORT_MASK = PROP_TAG(PT_LONG, 0x340D);
inline constexpr ULONG PR_VALID_FOLDER_MASK = PROP_TAG(PT_LONG, 0x35DF);
inline constexpr ULONG PR_IPM_SUBTREE_ENTRYID = PROP_TAG(PT_BINARY, 0x35E0);
inline constexpr ULONG PR_IPM_OUTBOX_ENTRYID = PROP_TAG(PT_BINARY, 0x35E2);
inline constexpr ULONG PR_IPM_WASTEBASKET_ENTRYID = PROP_TAG(PT_BINARY, 0x35E3);
inline constexpr ULONG PR_IPM_SENTMAIL_ENTRYID = PROP_TAG(PT_BINARY, 0x35E4);
inline constexpr ULONG PR_VIEWS_ENTRYID = PROP_TAG(PT_BINARY, 0x35E5);
inline constexpr ULONG PR_FINDER_ENTRYID = PROP_TAG(PT_BINARY, 0x35E7);
inline constexpr ULONG PR_IPM_APPOINTMENT_ENTRYID = PROP_TAG(PT_BINARY, 0x36D0);
inline constexpr ULONG PR_IPM_CONTACT_ENTRYID = PROP_TAG(PT_BINARY, 0x36D1);
inline constexpr ULONG PR_IPM_JOURNAL_ENTRYID = PROP_TAG(PT_BINARY, 0x36D2);
inline constexpr ULONG PR_IPM_NOTE_ENTRYID = PROP_TAG(PT_BINARY, 0x36D3);
inline constexpr ULONG PR_IPM_TASK_ENTRYID = PROP_TAG(PT_BINARY, 0x36D4);
inline constexpr ULONG PR_MDB_PROVIDER = PROP_TAG(PT_BINARY, 0x3414);
inline constexpr ULONG PR_PST_PATH_W = PROP_TAG(PT_UNICODE, 0x6700);
inline constexpr ULONG PR_PST_PATH_A = PROP_TAG(PT_STRING8, 0x6700);
inline constexpr ULONG PR_SERVICE_UID = PROP_TAG(PT_BINARY, 0x3D0C);
inline constexpr ULONG PR_SERVICE_NAME_A = PROP_TAG(PT_STRING8, 0x3D09);
inline constexpr ULONG PR_RESOURCE_FLAGS = PROP_TAG(PT_LONG, 0x3009);
inline constexpr ULONG PR_DEFAULT_STORE = PROP_TAG(PT_BOOLEAN, 0x3400);

inline constexpr ULONG FOLDER_IPM_SUBTREE_VALID = 0x1;
inline constexpr ULONG FOLDER_IPM_INBOX_VALID = 0x2;
inline constexpr ULONG FOLDER_IPM_OUTBOX_VALID = 0x4;
inline constexpr ULONG FOLDER_IPM_WASTEBASKET_VALID = 0x8;
inline constexpr ULONG FOLDER_IPM_SENTMAIL_VALID = 0x10;

inline constexpr ULONG STORE_ENTRYID_UNIQUE = 0x1;
inline constexpr ULONG STORE_READONLY = 0x2;
inline constexpr ULONG STORE_SEARCH_OK = 0x4;
inline constexpr ULONG STORE_RESTRICTION_OK = 0x10;
inline constexpr ULONG STORE_SORT_OK = 0x2000;
inline constexpr ULONG STORE_ATTACH_OK = 0x20;
inline constexpr ULONG STORE_HTML_OK = 0x10000;
inline constexpr ULONG STORE_UNICODE_OK = 0x40000;

// Object types (PR_OBJECT_TYPE and the OpenEntry answer).
inline constexpr ULONG MAPI_STORE = 1;
inline constexpr ULONG MAPI_ADDRBOOK = 2;
inline constexpr ULONG MAPI_FOLDER = 3;
inline constexpr ULONG MAPI_ABCONT = 4;
inline constexpr ULONG MAPI_MESSAGE = 5;
inline constexpr ULONG MAPI_MAILUSER = 6;
inline constexpr ULONG MAPI_ATTACH = 7;
inline constexpr ULONG MAPI_SESSION = 0xB;

// Call flags.
inline constexpr ULONG MAPI_UNICODE = 0x80000000u;
inline constexpr ULONG MAPI_MODIFY = 0x1;
inline constexpr ULONG MAPI_BEST_ACCESS = 0x10;
inline constexpr ULONG MAPI_DEFERRED_ERRORS = 0x8;
inline constexpr ULONG MAPI_CREATE = 0x2;
inline constexpr ULONG MAPI_NO_MAIL = 0x8000;
inline constexpr ULONG MAPI_EXTENDED = 0x20;
inline constexpr ULONG MAPI_NEW_SESSION = 0x2;
inline constexpr ULONG MAPI_LOGON_UI = 0x1;
inline constexpr ULONG MDB_WRITE = 0x4;
inline constexpr ULONG MDB_NO_MAIL = 0x80;
inline constexpr ULONG MDB_NO_DIALOG = 0x1;
inline constexpr ULONG SERVICE_UI_ALLOWED = 0x10;
inline constexpr ULONG MAPI_ASSOCIATED = 0x40;
inline constexpr ULONG MAPI_CREATE_NAMES = 0x2;  // GetIDsFromNames: never honoured (read-only)

// Tables.
inline constexpr ULONG TBL_NOADVANCE = 0x1;
inline constexpr ULONG TBL_ASYNC = 0x1;
inline constexpr ULONG TBL_BATCH = 0x2;
inline constexpr ULONG TABLE_SORT_ASCEND = 0;
inline constexpr ULONG TABLE_SORT_DESCEND = 1;
inline constexpr ULONG BOOKMARK_BEGINNING = 0;
inline constexpr ULONG BOOKMARK_CURRENT = 1;
inline constexpr ULONG BOOKMARK_END = 2;

// A MAPI unique id (16 bytes), as in a service's PR_SERVICE_UID.
struct MAPIUID {
    BYTE ab[16] = {};
};
inline bool operator==(const MAPIUID& a, const MAPIUID& b) {
    for (int i = 0; i < 16; ++i)
        if (a.ab[i] != b.ab[i]) return false;
    return true;
}

// Named properties: a name is a number (MNID_ID) or a string (MNID_STRING) in a property set.
inline constexpr ULONG MNID_ID = 0;
inline constexpr ULONG MNID_STRING = 1;
