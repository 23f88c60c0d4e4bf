#include "net/Session.h"

#include "net/Capabilities.h"
#include "net/Names.h"
#include "net/Protocol.h"

#include <vector>

namespace kivo::net {

namespace {

struct Result {
    int code = rprt::kOk;
    std::vector<Field> fields;
};

Result Fail(int code) { return {code, {}}; }

Result Value(std::string_view name, std::string value)
{
    Result r;
    r.fields.push_back({name, std::move(value)});
    return r;
}

Result Run(const Command& c, RigModel& rig)
{
    switch (c.cmd) {
    case Cmd::GetFreq: {
        const auto f = rig.Frequency();
        return f.error ? Fail(f.error) : Value("Frequency", std::to_string(f.value));
    }
    case Cmd::SetFreq: return Fail(CanReceive(c.hz) ? rig.SetFrequency(c.hz) : rprt::kInvalid);
    case Cmd::GetMode: {
        const auto m = rig.Mode();
        if (m.error)
            return Fail(m.error);
        Result r = Value("Mode", std::string(ModeName(m.value)));
        r.fields.push_back({"Passband", std::to_string(DefaultPassband(m.value))});
        return r;
    }
    case Cmd::SetMode: return Fail(rig.SetMode(c.mode));
    case Cmd::GetVfo: {
        const auto v = rig.CurrentVfo();
        return v.error ? Fail(v.error) : Value("VFO", std::string(VfoName(v.value)));
    }
    case Cmd::SetVfo: return Fail(c.currentVfo ? rprt::kOk : rig.SetVfo(c.vfo));
    case Cmd::GetPtt: {
        const auto p = rig.Ptt();
        return p.error ? Fail(p.error) : Value("PTT", p.value ? "1" : "0");
    }
    case Cmd::SetPtt: return Fail(rig.SetPtt(c.on));
    case Cmd::GetSplitVfo: {
        const auto s = rig.Split();
        const auto v = rig.CurrentVfo();
        if (s.error || v.error)
            return Fail(s.error ? s.error : v.error);
        Result r = Value("Split", s.value ? "1" : "0");
        r.fields.push_back({"TX VFO", std::string(VfoName(OtherVfo(v.value)))});
        return r;
    }
    // The radio transmits on the other VFO in split whichever VFO the client names.
    case Cmd::SetSplitVfo: return Fail(rig.SetSplit(c.on));
    case Cmd::GetSplitFreq: {
        const auto f = rig.TxFrequency();
        return f.error ? Fail(f.error) : Value("TX Frequency", std::to_string(f.value));
    }
    case Cmd::SetSplitFreq: return Fail(CanReceive(c.hz) ? rig.SetTxFrequency(c.hz) : rprt::kInvalid);
    case Cmd::GetLevel: {
        const auto s = rig.SMeter();
        if (s.error)
            return Fail(s.error);
        return c.level == Level::Strength ? Value("STRENGTH", std::to_string(StrengthDb(s.value)))
                                          : Value("RAWSTR", std::to_string(s.value));
    }
    // A dark panel is a radio switched off, as far as a client can tell.
    case Cmd::GetPowerstat: return Value("Power Status", rig.Lit() ? "1" : "0");
    case Cmd::ChkVfo: return Value("CHKVFO", "0");
    case Cmd::DumpState: {
        Result r;
        for (const auto& line : DumpStateLines())
            r.fields.push_back({{}, line});
        return r;
    }
    // The panel's LOCK holds the knobs, not the client: never reported as locked.
    case Cmd::GetLockMode: return Value("Locked", "0");
    case Cmd::None:
    case Cmd::Quit: break;
    }
    return Fail(rprt::kNotImplemented);
}

} // namespace

Answer Session::Handle(std::string_view line)
{
    const Command c = ParseLine(line);
    if (c.cmd == Cmd::Quit && c.error == rprt::kOk)
        return {{}, true};
    if (c.error != rprt::kOk)
        return {FormatAnswer(c, c.error, {}), false};
    const Result r = Run(c, m_rig);
    return {FormatAnswer(c, r.code, r.fields), false};
}

} // namespace kivo::net
