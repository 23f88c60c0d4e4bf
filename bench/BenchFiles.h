#pragma once
// The data files a benchmark starts the program on: the radio on port 1, no tuning to the radio
// at POWER on, the meter at the given Meter Update entry (5 is 100 ms, 6 "OFF"); `adjust` may
// change more before they are written.

#include "platform/FileSystem.h"
#include "platform/ScriptedDialogs.h"
#include "state/DataFiles.h"

#include <functional>
#include <string>

namespace kivo::bench {

inline void WriteBenchFiles(const std::string& dir, int meterSpeed,
                            const std::function<void(state::ModKIVO&)>& adjust = {})
{
    state::ModKIVO f;
    f.Settings.CommPort = 1;
    f.Settings.TuneOnStartup = 0;
    f.Settings.MeterSpeed = state::Integer(meterSpeed);
    if (adjust)
        adjust(f);
    platform::PosixFileSystem fs;
    platform::ScriptedDialogs none;
    state::DataFiles w(f, fs, none, dir);
    w.SaveSettingsFile();
    w.SaveBandDataFile();
    w.SaveHomeFile();
}

} // namespace kivo::bench
