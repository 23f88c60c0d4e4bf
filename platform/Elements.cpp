#include "platform/Elements.h"

#include <charconv>

namespace kivo::platform::el {

namespace {

const char* const kSingles[] = {
    DisplayPanel,      LMeter,         ledFreq,        ledSubFreq,
    ledMRnumber,       ledLOCK,        ledFAST,        LEDsub,
    lblMainENC,        lblMainDEC,     lblMainDCS,     lblSubENC,
    lblSubDEC,         lblSubDCS,      lblTXRX,        lblRXTX,
    lblSPLIT,          lblMT,          lblMCK,         lblCH,
    lblSKIP,           lblSCAN,        lblSEARCH,      lblBusy,
    lblOnAir,          lblMemoryDesc,  PowerButton,    MOXbutton,
    SEARCHbutton,      SYNCbutton,     FASTbutton,     LOCKbutton,
    HOMEbutton,        VFOMRbutton,    ABbutton,       MCKbutton,
    SPLITbutton,       SUBbutton,      RPTbutton,      REVbutton,
    TONEbutton,        SCOPEbutton,    SCANbutton,     PRIbutton,
    DOPbutton,         BandDownButton, BandUpButton,   PMSbutton,
    ENTbutton,         CLARbutton,     RCLbutton,      STObutton,
    SWAPbutton,        MhzUpButton,    MhzDownButton,  MainKnob,
    SubKnob,           ChannelKnob,    btnJogDown,     btnJogUp,
    TuningStepsDialog, cmdSave,        cmdDefault,     cmdCancel,
    lblCLAR,           lblQMB,         lblShareStatus, mnuSettings,
    mnuMemory,
};

const Array kArrays[] = {
    LMeterIndicator, LMeterStart,  lblMBmode,        lblSBmode,        ImgRPTdirection,
    ModeButton,      BandButton,   mnuCommPortArray, mnuCatRate,       mnuMeterSpeed,
    mnuPRIspeed,     mnuScanSpeed, mnuPauseInterval, mnuSettingsArray, fraSteps,
    CHboxFM,         CHboxAM,      CHboxSSB,         lblCHboxFM,       lblCHboxAM,
    lblCHboxSSB,     VFObox,       lblVFObox,        mnuFileArray,     mnuResizeDisplayArray,
};

// The band scope window's, apart so each window's list reads on its own.
const char* const kScopeSingles[] = {listSteps, listScanWidth, cmdSCAN, ResetButton, lblScopeProgress};
const Array kScopeArrays[] = {txtboxFreq,     mnuActiveSearch, mnuScopeSpeed, mnuContinuousScan,
                              mnuDisplayMode, mnuScaleHandles, mnuWrapWidth,  mnuColorFill};

} // namespace

std::string Array::operator()(int i) const { return std::string(name) + "(" + std::to_string(i) + ")"; }

bool IsDeclared(std::string_view name)
{
    for (const char* s : kSingles)
        if (name == s)
            return true;
    for (const char* s : kScopeSingles)
        if (name == s)
            return true;
    // "name(i)": a declared array and an index in its range.
    const auto open = name.find('(');
    if (open == std::string_view::npos || name.size() < open + 3 || name.back() != ')')
        return false;
    const std::string_view base = name.substr(0, open);
    const std::string_view digits = name.substr(open + 1, name.size() - open - 2);
    int index = 0;
    const auto [end, err] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    // "(03)" would be an element of its own, not element 3.
    if (err != std::errc() || end != digits.data() + digits.size() || digits != std::to_string(index))
        return false;
    for (const Array& a : kArrays)
        if (base == a.name && a.Holds(index))
            return true;
    for (const Array& a : kScopeArrays)
        if (base == a.name && a.Holds(index))
            return true;
    return false;
}

} // namespace kivo::platform::el
