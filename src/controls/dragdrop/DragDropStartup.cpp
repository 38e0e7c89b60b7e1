#include <mutex>

#include "controls/dragdrop/DataFormatMap.h"
#include "controls/dragdrop/DragDropComponent.h"
#include "controls/dragdrop/FeedbackFormats.h"
#include "controls/dragdrop/FileFormats.h"
#include "controls/dragdrop/GenericFormats.h"
#include "controls/dragdrop/PidlFormats.h"
#include "controls/dragdrop/TextFormats.h"

void DragDropStartup() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (const TDataFormatClass* c :
             {&TFeedbackDataFormat::StaticClass(), &TTextDataFormat::StaticClass(), &TFileDataFormat::StaticClass(),
              &TFileMapDataFormat::StaticClass(), &TPIDLDataFormat::StaticClass(), &TGenericDataFormat::StaticClass()})
            TCustomDataFormat::RegisterDataFormat(*c);
    });
}
