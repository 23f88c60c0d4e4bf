#include "radio/CatRateDetect.h"

namespace kivo::radio {

namespace {

// Tries per rate: the first frame after the line comes up may be lost to the switch-over.
constexpr int kTries = 2;

} // namespace

int ProbeCatRate(CommPort& port, RadioLink& cat, int number, const std::function<void(int rate)>& trying)
{
    for (int rate = 0; rate < 3; ++rate) {
        if (trying)
            trying(rate);
        std::string error;
        if (!port.Open(number, rate, error))
            return -1;
        cat.PortReopened();
        // Garbage from a mismatched receiver fails the BCD, range and mode checks of the decoder.
        for (int i = 0; i < kTries; ++i)
            if (cat.ReadFreqMode().has_value())
                return rate;
    }
    return -1;
}

} // namespace kivo::radio
