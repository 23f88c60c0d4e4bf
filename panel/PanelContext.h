#pragma once
// What every unit of the front panel works on: the state, the display, the dialogs, the event
// loop and window, the radio link and meter, and the files. One per program, handed to each
// unit's constructor.

#include "panel/Meter.h"
#include "platform/Dialogs.h"
#include "platform/DisplayModel.h"
#include "platform/EventLoop.h"
#include "platform/Window.h"
#include "radio/CommPort.h"
#include "radio/RadioLink.h"
#include "state/DataFiles.h"
#include "state/MemoryFile.h"
#include "state/ModKIVO.h"

namespace kivo::panel {

using state::Integer;
using state::Long;

struct PanelContext {
    state::ModKIVO& s;
    platform::DisplayModel& display;
    platform::Dialogs& dialogs;
    platform::EventLoop& loop;
    platform::Window& window;
    radio::RadioLink& cat;
    radio::CommPort& comm;
    Meter& meter;
    state::DataFiles& files;
    state::MemoryFile& memory;
};

// A band index that is safe to index the per-band tables with.
inline int BandSlot(Integer b) { return b >= 0 && b < state::kBandCount ? b : 0; }

} // namespace kivo::panel
