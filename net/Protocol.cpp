#include "net/Protocol.h"

#include "net/Names.h"

#include <algorithm>
#include <array>

namespace kivo::net {

namespace {

struct CmdRow {
    Cmd cmd;
    char shortName; // 0: long name only
    std::string_view longName;
    int minArgs, maxArgs;
    // The plain answer carries `RPRT 0` after its value (as clients of the lock query expect).
    bool rprtAfterValues = false;
};

constexpr std::array<CmdRow, 22> kCommands{{
    {Cmd::GetFreq, 'f', "get_freq", 0, 0},
    {Cmd::SetFreq, 'F', "set_freq", 1, 1},
    {Cmd::GetMode, 'm', "get_mode", 0, 0},
    // The passband may be left out; it is then the mode's default, as 0 and -1 say.
    {Cmd::SetMode, 'M', "set_mode", 1, 2},
    {Cmd::GetVfo, 'v', "get_vfo", 0, 0},
    {Cmd::SetVfo, 'V', "set_vfo", 1, 1},
    {Cmd::GetPtt, 't', "get_ptt", 0, 0},
    {Cmd::SetPtt, 'T', "set_ptt", 1, 1},
    {Cmd::GetSplitVfo, 's', "get_split_vfo", 0, 0},
    {Cmd::SetSplitVfo, 'S', "set_split_vfo", 1, 2},
    {Cmd::GetSplitFreq, 'i', "get_split_freq", 0, 0},
    {Cmd::SetSplitFreq, 'I', "set_split_freq", 1, 1},
    {Cmd::GetSplitMode, 'x', "get_split_mode", 0, 0},
    {Cmd::SetSplitMode, 'X', "set_split_mode", 1, 2},
    {Cmd::VfoOp, 'G', "vfo_op", 1, 1},
    {Cmd::GetLevel, 'l', "get_level", 1, 1},
    {Cmd::GetPowerstat, 0, "get_powerstat", 0, 0},
    {Cmd::ChkVfo, 0, "chk_vfo", 0, 0},
    {Cmd::DumpState, 0, "dump_state", 0, 0},
    {Cmd::GetLockMode, 0, "get_lock_mode", 0, 0, true},
    {Cmd::Quit, 'q', "quit", 0, 0},
    {Cmd::Quit, 'Q', "", 0, 0},
}};

const CmdRow* FindShort(char name)
{
    for (const auto& r : kCommands)
        if (r.shortName == name)
            return &r;
    return nullptr;
}

const CmdRow* FindLong(std::string_view name)
{
    for (const auto& r : kCommands)
        if (!r.longName.empty() && r.longName == name)
            return &r;
    return nullptr;
}

const CmdRow* FindRow(Cmd cmd)
{
    for (const auto& r : kCommands)
        if (r.cmd == cmd)
            return &r;
    return nullptr;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

std::vector<std::string_view> Tokens(std::string_view s)
{
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && IsBlank(s[i]))
            ++i;
        const std::size_t start = i;
        while (i < s.size() && !IsBlank(s[i]))
            ++i;
        if (i > start)
            out.push_back(s.substr(start, i - start));
    }
    return out;
}

// Hertz with optional decimals, rounded to the nearest hertz. Twelve integer digits are far
// above any radio and keep the value clear of overflow.
bool ParseHz(std::string_view s, std::int64_t& hz)
{
    std::size_t i = 0;
    std::int64_t v = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        if (i == 12)
            return false;
        v = v * 10 + (s[i] - '0');
    }
    if (i == 0)
        return false;
    if (i < s.size() && s[i] == '.') {
        const std::size_t frac = ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i;
        if (i > frac && s[frac] >= '5')
            ++v;
    }
    hz = v;
    return i == s.size();
}

bool ParseInt(std::string_view s, int& out)
{
    const bool negative = !s.empty() && s[0] == '-';
    if (negative)
        s.remove_prefix(1);
    if (s.empty() || s.size() > 9)
        return false;
    int v = 0;
    for (char ch : s) {
        if (!IsDigit(ch))
            return false;
        v = v * 10 + (ch - '0');
    }
    out = negative ? -v : v;
    return true;
}

bool ParseVfo(std::string_view s, Command& c)
{
    const auto v = VfoOfName(s);
    if (!v)
        return false;
    c.currentVfo = v->current;
    c.vfo = v->vfo;
    return true;
}

// The arguments of a known command into `c`; false when one is not valid.
bool ParseArgs(const std::vector<std::string_view>& a, Command& c)
{
    int n = 0;
    switch (c.cmd) {
    case Cmd::SetFreq:
    case Cmd::SetSplitFreq: return ParseHz(a[0], c.hz);
    case Cmd::SetMode:
    case Cmd::SetSplitMode: {
        const auto mode = ModeOfName(a[0]);
        if (!mode)
            return false;
        c.mode = *mode;
        // The radio's filters are not chosen from here; any passband is taken as the default.
        return a.size() < 2 || (ParseInt(a[1], n) && n >= -1);
    }
    case Cmd::SetVfo: return ParseVfo(a[0], c);
    case Cmd::SetPtt:
        // 2 and 3 ask for transmit from the microphone or the data jack: both are transmit here.
        if (!ParseInt(a[0], n) || n < 0 || n > 3)
            return false;
        c.on = n != 0;
        return true;
    case Cmd::SetSplitVfo:
        if (!ParseInt(a[0], n) || n < 0 || n > 1)
            return false;
        c.on = n == 1;
        return a.size() < 2 || ParseVfo(a[1], c);
    case Cmd::VfoOp: {
        if (a[0] == "TOGGLE") {
            c.op = VfoOperation::Toggle;
            return true;
        }
        // The protocol's other operations: known, but this radio has none of them.
        static constexpr std::array<std::string_view, 12> kOthers{
            "CPY", "XCHG", "FROM_VFO", "TO_VFO", "MCL", "UP", "DOWN", "BAND_UP", "BAND_DOWN", "LEFT", "RIGHT", "TUNE"};
        c.op = VfoOperation::Unavailable;
        return std::find(kOthers.begin(), kOthers.end(), a[0]) != kOthers.end();
    }
    case Cmd::GetLevel:
        if (a[0] == "STRENGTH")
            c.level = Level::Strength;
        else if (a[0] == "RAWSTR")
            c.level = Level::RawStr;
        else
            return false;
        return true;
    default: return true;
    }
}

} // namespace

Command ParseLine(std::string_view line)
{
    Command c;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    c.error = rprt::kProtocol;
    if (line.size() > kMaxLineLength)
        return c;
    for (char ch : line)
        if ((static_cast<unsigned char>(ch) < 0x20 && ch != '\t') || ch == 0x7F)
            return c;
    auto tokens = Tokens(line);
    if (tokens.empty())
        return c;

    std::string_view name = tokens[0];
    switch (name[0]) {
    case '+': c.form = Form::Lines; break;
    case ';': c.form = Form::Semicolon; break;
    case '|': c.form = Form::Pipe; break;
    default: break;
    }
    if (c.form != Form::Plain)
        name.remove_prefix(1);
    if (name.empty())
        return c;

    const CmdRow* row = nullptr;
    if (name[0] == '\\')
        row = FindLong(name.substr(1));
    else if (name.size() == 1)
        row = FindShort(name[0]);
    if (!row) {
        c.error = rprt::kNotImplemented;
        return c;
    }

    c.cmd = row->cmd;
    c.error = rprt::kOk;
    tokens.erase(tokens.begin());
    for (const auto t : tokens) {
        if (!c.args.empty())
            c.args += ' ';
        c.args += t;
    }
    const int count = int(tokens.size());
    if (count < row->minArgs || count > row->maxArgs || !ParseArgs(tokens, c))
        c.error = rprt::kInvalid;
    return c;
}

std::string_view LongName(Cmd cmd)
{
    const CmdRow* row = cmd == Cmd::None ? nullptr : FindRow(cmd);
    return row ? row->longName : std::string_view{};
}

std::string FormatAnswer(const Command& c, int code, const std::vector<Field>& fields)
{
    const std::string status = "RPRT " + std::to_string(code);
    const CmdRow* row = c.cmd == Cmd::None ? nullptr : FindRow(c.cmd);
    if (!row || c.form == Form::Plain) {
        if (code != rprt::kOk || fields.empty())
            return status + "\n";
        std::string out;
        for (const auto& f : fields)
            out += f.value + "\n";
        if (row && row->rprtAfterValues)
            out += status + "\n";
        return out;
    }
    const char sep = c.form == Form::Lines ? '\n' : c.form == Form::Semicolon ? ';' : '|';
    std::string out(row->longName);
    out += ':';
    if (!c.args.empty())
        out += ' ' + c.args;
    if (code == rprt::kOk)
        for (const auto& f : fields) {
            out += sep;
            if (!f.name.empty()) {
                out += f.name;
                out += ": ";
            }
            out += f.value;
        }
    return out + sep + status + "\n";
}

} // namespace kivo::net
