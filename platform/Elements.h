#pragma once
// Every named display element of the windows, declared once. The logic and the window use these
// constants, so a misspelt element does not compile; the display model refuses a name that is
// not declared here. A control array is declared with its index range: `el::lblMBmode(3)` is
// "lblMBmode(3)".

#include <string>
#include <string_view>

namespace kivo::platform::el {

// A control array: element i (first..last) is named "name(i)".
struct Array {
    const char* name;
    int first;
    int last;
    std::string operator()(int i) const;
    bool Holds(int i) const { return i >= first && i <= last; }
};

// True when `name` is one of the elements below, or an element of one of the arrays.
bool IsDeclared(std::string_view name);

// The display panel and its meter.
inline constexpr const char* DisplayPanel = "DisplayPanel";
inline constexpr const char* LMeter = "LMeter";
inline constexpr Array LMeterIndicator{"LMeter", 0, 3}; // 0 needle, 1 band, 2 and 3 markers
inline constexpr Array LMeterStart{"LMeterStart", 0, 3};

// Frequency and memory-number displays, the LEDs.
inline constexpr const char* ledFreq = "ledFreq";
inline constexpr const char* ledSubFreq = "ledSubFreq";
inline constexpr const char* ledMRnumber = "ledMRnumber";
inline constexpr const char* ledLOCK = "ledLOCK";
inline constexpr const char* ledFAST = "ledFAST";
inline constexpr const char* LEDsub = "LEDsub";

// Labels of the display panel.
inline constexpr Array lblMBmode{"lblMBmode", 0, 7};
inline constexpr Array lblSBmode{"lblSBmode", 0, 7};
inline constexpr const char* lblMainENC = "lblMainENC";
inline constexpr const char* lblMainDEC = "lblMainDEC";
inline constexpr const char* lblMainDCS = "lblMainDCS";
inline constexpr const char* lblSubENC = "lblSubENC";
inline constexpr const char* lblSubDEC = "lblSubDEC";
inline constexpr const char* lblSubDCS = "lblSubDCS";
inline constexpr Array ImgRPTdirection{"ImgRPTdirection", 0, 1}; // 0 plus shift, 1 minus shift
inline constexpr const char* lblTXRX = "lblTXRX";
inline constexpr const char* lblRXTX = "lblRXTX";
inline constexpr const char* lblSPLIT = "lblSPLIT";
inline constexpr const char* lblCLAR = "lblCLAR";
inline constexpr const char* lblMT = "lblMT";
inline constexpr const char* lblMCK = "lblMCK";
inline constexpr const char* lblQMB = "lblQMB";
inline constexpr const char* lblCH = "lblCH";
inline constexpr const char* lblSKIP = "lblSKIP";
inline constexpr const char* lblSCAN = "lblSCAN";
inline constexpr const char* lblSEARCH = "lblSEARCH";
inline constexpr const char* lblBusy = "lblBusy";
inline constexpr const char* lblOnAir = "lblOnAir";
// The window's status line while the radio is shared on the network.
inline constexpr const char* lblShareStatus = "lblShareStatus";
inline constexpr const char* lblMemoryDesc = "lblMemoryDesc";

// Front-panel keys.
inline constexpr const char* CATbutton = "CATbutton";
inline constexpr const char* MOXbutton = "MOXbutton";
inline constexpr const char* SEARCHbutton = "SEARCHbutton";
inline constexpr const char* SYNCbutton = "SYNCbutton";
inline constexpr const char* FASTbutton = "FASTbutton";
inline constexpr const char* LOCKbutton = "LOCKbutton";
inline constexpr const char* HOMEbutton = "HOMEbutton";
inline constexpr const char* VFOMRbutton = "VFOMRbutton";
inline constexpr const char* ABbutton = "ABbutton";
inline constexpr const char* MCKbutton = "MCKbutton";
inline constexpr const char* SPLITbutton = "SPLITbutton";
inline constexpr const char* SUBbutton = "SUBbutton";
inline constexpr const char* RPTbutton = "RPTbutton";
inline constexpr const char* REVbutton = "REVbutton";
inline constexpr const char* TONEbutton = "TONEbutton";
inline constexpr const char* SCOPEbutton = "SCOPEbutton";
inline constexpr const char* SCANbutton = "SCANbutton";
inline constexpr const char* PRIbutton = "PRIbutton";
inline constexpr const char* DOPbutton = "DOPbutton";
inline constexpr const char* BandDownButton = "BandDownButton";
inline constexpr const char* BandUpButton = "BandUpButton";
inline constexpr const char* PMSbutton = "PMSbutton";
inline constexpr const char* ENTbutton = "ENTbutton";
inline constexpr const char* CLARbutton = "CLARbutton";
inline constexpr const char* RCLbutton = "RCLbutton";
inline constexpr const char* STObutton = "STObutton";
inline constexpr const char* SWAPbutton = "SWAPbutton";
inline constexpr const char* MhzUpButton = "MhzUpButton";
inline constexpr const char* MhzDownButton = "MhzDownButton";
inline constexpr Array ModeButton{"ModeButton", 0, 7};  // by mode code
inline constexpr Array BandButton{"BandButton", 0, 11}; // by band index

// Knobs and jog keys.
inline constexpr const char* MainKnob = "MainKnob";
inline constexpr const char* SubKnob = "SubKnob";
inline constexpr const char* ChannelKnob = "ChannelKnob";
inline constexpr const char* btnJogDown = "btnJogDown";
inline constexpr const char* btnJogUp = "btnJogUp";

// Menu entries.
inline constexpr Array mnuCommPortArray{"mnuCommPortArray", 1, 11}; // 10 is "None", 11 the network port
inline constexpr Array mnuCatRate{"mnuCatRate", 0, 2};
inline constexpr Array mnuMeterSpeed{"mnuMeterSpeed", 0, 6};
inline constexpr Array mnuPRIspeed{"mnuPRIspeed", 0, 3}; // 3 is "OFF"
inline constexpr Array mnuScanSpeed{"mnuScanSpeed", 0, 6};
inline constexpr Array mnuPauseInterval{"mnuPauseInterval", 0, 4};
// 14 "Tune to Radio on Start-up", 15 "Follow Radio Dial", 16 "Share Radio on Network",
// 17 "Announce S-Meter Changes"
inline constexpr Array mnuSettingsArray{"mnuSettingsArray", 14, 18};
inline constexpr Array mnuFileArray{"mnuFileArray", 0, 9};
inline constexpr Array mnuResizeDisplayArray{"mnuResizeDisplayArray", 0, 8};
// The top-level menus the menu lock disables as a whole.
inline constexpr const char* mnuSettings = "mnuSettings";
inline constexpr const char* mnuMemory = "mnuMemory";

// The tuning-steps dialog.
inline constexpr const char* frmTuningSteps = "frmTuningSteps";
inline constexpr Array fraSteps{"fraSteps", 0, 4};
inline constexpr Array CHboxFM{"CHboxFM", 0, 3};
inline constexpr Array CHboxAM{"CHboxAM", 0, 3};
inline constexpr Array CHboxSSB{"CHboxSSB", 0, 3};
inline constexpr Array lblCHboxFM{"lblCHboxFM", 0, 3};
inline constexpr Array lblCHboxAM{"lblCHboxAM", 0, 3};
inline constexpr Array lblCHboxSSB{"lblCHboxSSB", 0, 3};
inline constexpr Array VFObox{"VFObox", 3, 5};
inline constexpr Array lblVFObox{"lblVFObox", 3, 5};
inline constexpr const char* cmdSave = "cmdSave";
inline constexpr const char* cmdDefault = "cmdDefault";
inline constexpr const char* cmdCancel = "cmdCancel";

// The band scope window.
inline constexpr Array txtboxFreq{"txtboxFreq", 0, 1}; // 0 current, 1 centre frequency
inline constexpr const char* listSteps = "listSteps";  // value: the selected entry
inline constexpr const char* listScanWidth = "listScanWidth";
inline constexpr const char* cmdSCAN = "cmdSCAN";
inline constexpr const char* SSCommand1 = "SSCommand1";
inline constexpr const char* lblScopeProgress = "lblScopeProgress";
inline constexpr Array mnuActiveSearch{"mnuActiveSearch", 0, 9};
inline constexpr Array mnuScopeSpeed{"mnuScopeSpeed", 0, 4};
inline constexpr Array mnuContinuousScan{"mnuContinuousScan", 0, 1};
inline constexpr Array mnuDisplayMode{"mnuDisplayMode", 0, 1};
inline constexpr Array mnuScaleHandles{"mnuScaleHandles", 0, 3};
inline constexpr Array mnuWrapWidth{"mnuWrapWidth", 1, 4};
inline constexpr Array mnuColorFill{"mnuColorFill", 0, 1};

} // namespace kivo::platform::el

namespace kivo {
// Short enough to read at every use, in every layer.
namespace el = platform::el;
} // namespace kivo
