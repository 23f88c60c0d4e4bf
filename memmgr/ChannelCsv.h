#pragma once
// The memory database as a channel list in comma-separated UTF-8 text, the form operators
// already keep their channels in. One row per used position, under this header:
//
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,
//   RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
//
// Location   the position 0..999
// Name       the description (read from Comment when Name is blank)
// Frequency  VFO1 in MHz with six decimals, "146.520000"
// Duplex     "", "+", "-", or "split" for a split memory
// Offset     the repeater offset in MHz; for "split" the transmit frequency
// Tone       "" off, "Tone" encode, "TSQL" encode and decode, "DTCS" DCS
// rToneFreq  the CTCSS tone in Hz, "88.5"; cToneFreq the same (read for "TSQL")
// DtcsCode   three digits, "023"; DtcsPolarity "NN"; RxDtcsCode the same code
// CrossMode  "Tone->Tone"
// Mode       LSB, USB, CW, CWR, AM, FM, DIG, PKT (NFM is read as FM)
// TStep      "5.00"; Skip "S" when memory scanning skips it, else ""
// Power, Comment and the four digital-voice columns are written empty.
//
// Reading finds the columns by the names in the first line, so older lists without
// RxDtcsCode, CrossMode and Power read too. A row is taken whole or not at all.

#include "state/Records.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::memmgr {

inline constexpr std::array<const char*, 21> kChannelColumns = {
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE",
};

// Every used position of `memory` (positions 0..999), in position order, CR LF line ends.
std::string ExportChannels(std::span<const state::MemRec> memory);

struct ImportedChannel {
    int position = 0;
    state::MemRec rec;
};

struct ImportProblem {
    int line = 0; // line of the file the row starts on
    std::string text;
};

struct ImportResult {
    std::vector<ImportedChannel> channels; // the rows taken, in file order
    std::vector<ImportProblem> problems;   // the rows not taken, and why
    std::string fatal;                     // why the text is no channel list at all, e.g. "the file is empty"
};

// Reads a channel list. A row is refused for an unknown mode, tone mode or duplex, a frequency
// outside the coverage of `bands`, a tone or DCS code not in the radio's tables, a bad number,
// a Location outside 0..999 or taken by an earlier row, or a field count unlike the header's.
// A position taken keeps the BankSel it has in `memory`.
ImportResult ImportChannels(std::string_view csv, std::span<const state::MemRec> memory,
                            const state::BandDataRec& bands);

// "line 7: unknown mode \"WFM\"", one per line; after `most` of them, how many more there are.
std::string ProblemList(const std::vector<ImportProblem>& problems, std::size_t most);

} // namespace kivo::memmgr
