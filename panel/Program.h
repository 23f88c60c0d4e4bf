#pragma once
// Everything the program is made of, wired together over the platform interfaces the caller
// gives it: the window, the dialogs and the event loop.

#include "panel/FrontPanel.h"
#include "platform/DisplayModel.h"
#include "platform/FileSystem.h"
#include "platform/PosixSerialPort.h"
#include "radio/Cat.h"
#include "radio/CommPort.h"
#include "radio/Meter.h"
#include "state/DataFiles.h"
#include "state/MemoryFile.h"
#include "state/ModKIVO.h"

#include <string>

namespace kivo::panel {

struct Program {
    Program(platform::EventLoop& loop, platform::Dialogs& dialogs, platform::Window& window, const std::string& dataDir)
        : files(s, fs, dialogs, dataDir), memory(s, fs, dialogs), cat(s, port, loop, display),
          comm(s, port, dialogs, display), meter(s, cat, loop, display),
          panel({s, display, dialogs, loop, window, cat, comm, meter, files, memory})
    {
        // A real radio drops frames that arrive closer together than this.
        cat.SetFrameGap(kRadioFrameGap);
    }

    // Port menu captions name the device behind each number.
    void RefreshPorts()
    {
        comm.RefreshPortCaptions([this](int n) { return port.DeviceOf(n); });
    }

    state::ModKIVO s;
    platform::DisplayModel display;
    platform::PosixFileSystem fs;
    platform::PosixSerialPort port;
    state::DataFiles files;
    state::MemoryFile memory;
    radio::Cat cat;
    radio::CommPort comm;
    radio::Meter meter;
    FrontPanel panel;
};

} // namespace kivo::panel
