// Rich-edit message numbers, flags and structures the program sends to its rich-text controls.
#pragma once

#include "platform/win/WinTypes.h"

namespace richtext {

inline constexpr UINT EM_GETSEL = 0x00B0;
inline constexpr UINT EM_SETSEL = 0x00B1;
inline constexpr UINT EM_LINEINDEX = 0x00BB;
inline constexpr UINT EM_LINELENGTH = 0x00C1;
inline constexpr UINT EM_REPLACESEL = 0x00C2;
inline constexpr UINT EM_EXGETSEL = 0x0434;
inline constexpr UINT EM_EXLINEFROMCHAR = 0x0436;
inline constexpr UINT EM_EXSETSEL = 0x0437;
inline constexpr UINT EM_FORMATRANGE = 0x0439;
inline constexpr UINT EM_GETEVENTMASK = 0x043B;
inline constexpr UINT EM_GETOLEINTERFACE = 0x043C;
inline constexpr UINT EM_GETSELTEXT = 0x043E;
inline constexpr UINT EM_SETEVENTMASK = 0x0445;
inline constexpr UINT EM_SETTARGETDEVICE = 0x0448;
inline constexpr UINT EM_STREAMIN = 0x0449;
inline constexpr UINT EM_STREAMOUT = 0x044A;
inline constexpr UINT EM_GETTEXTLENGTHEX = 0x045F;
inline constexpr UINT EM_SETTEXTEX = 0x0461;
inline constexpr UINT EM_FINDTEXTEXW = 0x047C;
inline constexpr UINT EM_SETEDITSTYLE = 0x04CC;

// Stream formats (EM_STREAMIN, EM_STREAMOUT).
inline constexpr DWORD SF_TEXT = 0x0001;
inline constexpr DWORD SF_RTF = 0x0002;
inline constexpr DWORD SF_RTFNOOBJS = 0x0003;
inline constexpr DWORD SF_TEXTIZED = 0x0004;
inline constexpr DWORD SF_UNICODE = 0x0010;
inline constexpr DWORD SFF_PLAINRTF = 0x4000;
inline constexpr DWORD SFF_SELECTION = 0x8000;

// Find flags (EM_FINDTEXTEXW).
inline constexpr DWORD FR_DOWN = 0x0001;
inline constexpr DWORD FR_WHOLEWORD = 0x0002;
inline constexpr DWORD FR_MATCHCASE = 0x0004;

// Text length flags (EM_GETTEXTLENGTHEX).
inline constexpr DWORD GTL_DEFAULT = 0;
inline constexpr DWORD GTL_USECRLF = 1;
inline constexpr DWORD GTL_PRECISE = 2;
inline constexpr DWORD GTL_CLOSE = 4;
inline constexpr DWORD GTL_NUMCHARS = 8;
inline constexpr DWORD GTL_NUMBYTES = 16;

struct CHARRANGE {
    LONG cpMin = 0;
    LONG cpMax = 0;
};

}  // namespace richtext
