// What the search window's fields ask for, turned into the engine that tests each message and
// the file-type filter of the folder scan.
#pragma once

#include <memory>

#include "platform/win/WinTime.h"
#include "platform/win/WinTypes.h"
#include "search/SearchEngine.h"

struct SearchRequest {
    WideString from, to, cc, subject, header, body;
    bool wholeFrom = false, wholeTo = false, wholeSubject = false, wholeCC = false;
    bool caseSensitive = false;
    bool eml = true, msg = true, pst = true;
    // The date edits' values in local time; 0 leaves that end open.
    TDateTime fromDate = 0, toDate = 0;
};

// The criteria in the order From, To, Subject, Header, CC, Body, Date; a text criterion only for
// a non-empty (untrimmed) field. The local-day bounds become UTC, the zone message dates are in;
// the last day counts up to the first instant of the next.
std::unique_ptr<SearchEngine> CreateSearchEngine(const SearchRequest& request);
// 1 .eml, 2 .msg, 4 .pst.
int FileTypeFilterOf(const SearchRequest& request);
// done * 100 / total in whole percent, 0 for a total of 0.
unsigned SearchProgressPercent(unsigned done, unsigned total);
