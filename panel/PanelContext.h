#pragma once
// What every unit of the front panel works on: the state, the display, the dialogs, the event
// loop and window, the radio link and meter, and the files. One per program, handed to each
// unit's constructor.

#include "panel/Meter.h"
#include "panel/PortChoice.h"
#include "platform/Dialogs.h"
#include "platform/DisplayModel.h"
#include "platform/EventLoop.h"
#include "platform/Window.h"
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
    PortChoice& comm;
    Meter& meter;
    state::DataFiles& files;
    state::MemoryFile& memory;
};

// The parts of the context most units work on, under the names they use them by: a unit derives
// from this rather than unpacking the context into references of its own.
struct ContextRefs {
    explicit ContextRefs(const PanelContext& ctx)
        : m_s(ctx.s), m_display(ctx.display), m_dialogs(ctx.dialogs), m_loop(ctx.loop), m_cat(ctx.cat),
          m_meter(ctx.meter)
    {
    }
    state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
    platform::Dialogs& m_dialogs;
    platform::EventLoop& m_loop;
    radio::RadioLink& m_cat;
    Meter& m_meter;
};

// A band index that is safe to index the per-band tables with.
inline int BandSlot(Integer b) { return b >= 0 && b < state::kBandCount ? b : 0; }

} // namespace kivo::panel
