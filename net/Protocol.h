#pragma once
// The protocol's lines as plain functions: text to a command, a command's result to text.

#include "net/RigModel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::net {

// Longer lines are answered with a protocol error unread.
constexpr std::size_t kMaxLineLength = 1024;

enum class Cmd : std::uint8_t {
    None, // not a command: the answer is the plain error
    GetFreq,
    SetFreq,
    GetMode,
    SetMode,
    GetVfo,
    SetVfo,
    GetPtt,
    SetPtt,
    GetSplitVfo,
    SetSplitVfo,
    GetSplitFreq,
    SetSplitFreq,
    GetSplitMode,
    SetSplitMode,
    VfoOp,
    GetLevel,
    GetPowerstat,
    ChkVfo,
    DumpState,
    GetLockMode,
    Quit,
};

// Plain answers, or the extended ones with their field separator: `+` a new line, `;`, `|`.
enum class Form : std::uint8_t { Plain, Lines, Semicolon, Pipe };

enum class Level : std::uint8_t { Strength, RawStr };

// The VFO operations a client may name: the A/B toggle this radio has, and the rest it lacks.
enum class VfoOperation : std::uint8_t { Toggle, Unavailable };

struct Command {
    Cmd cmd = Cmd::None;
    Form form = Form::Plain;
    // Nonzero: the answer is this error and the radio is not asked.
    int error = rprt::kOk;
    // The arguments as sent, single-spaced, for the extended answer's first line.
    std::string args;
    // The parsed arguments, by command.
    std::int64_t hz = 0;                    // SetFreq, SetSplitFreq
    RigMode mode = RigMode::USB;            // SetMode, SetSplitMode
    bool currentVfo = false;                // SetVfo, SetSplitVfo: the argument was currVFO
    Vfo vfo = Vfo::A;                       // SetVfo, SetSplitVfo (the transmit VFO)
    bool on = false;                        // SetPtt, SetSplitVfo
    Level level = Level::Strength;          // GetLevel
    VfoOperation op = VfoOperation::Toggle; // VfoOp
};

// One line, with or without its "\n" or "\r\n". Never throws; a line that is not a command
// comes back as Cmd::None with its error, and bad arguments of a known command keep the
// command with the error set (-1).
Command ParseLine(std::string_view line);

// The protocol's long name of a command ("get_freq"); empty for Cmd::None.
std::string_view LongName(Cmd cmd);

// One value of an answer; the name labels it in the extended forms (none: the line as is).
struct Field {
    std::string_view name;
    std::string value;
};

// The complete answer to `c`: its fields when `code` is 0, else the error, in c's form.
std::string FormatAnswer(const Command& c, int code, const std::vector<Field>& fields);

} // namespace kivo::net
