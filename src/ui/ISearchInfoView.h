// The progress and status sink every folder walk reports to; a walk may be given none.
#pragma once

#include "platform/win/WinTypes.h"

class ISearchInfoView {
public:
    virtual ~ISearchInfoView() = default;

    virtual void SetSearchMessagesCount(int count) = 0;
    virtual void SetSearchFolder(const WideString& path) = 0;
    virtual void SetSearchMsgName(const WideString& path) = 0;
    // done x 100 / total percent; 0 when total is 0.
    virtual void SetSearchProgress(unsigned int done, unsigned int total) = 0;
    virtual void SetSearchStatus(const WideString& text) = 0;
    virtual void SearchStarted() = 0;
    virtual void SearchFinished() = 0;
};
