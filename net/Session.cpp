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

Result Frequency(RigModel& rig, Got<Vfo> vfo, std::string_view name)
{
    if (vfo.error)
        return Fail(vfo.error);
    const auto f = rig.Frequency(vfo.value);
    return f.error ? Fail(f.error) : Value(name, std::to_string(f.value));
}

Result SetFrequency(RigModel& rig, Got<Vfo> vfo, std::int64_t hz)
{
    if (!CanReceive(hz))
        return Fail(rprt::kInvalid);
    return Fail(vfo.error ? vfo.error : rig.SetFrequency(vfo.value, hz));
}

Result Mode(RigModel& rig, Got<Vfo> vfo, std::string_view name, std::string_view passband)
{
    if (vfo.error)
        return Fail(vfo.error);
    const auto m = rig.Mode(vfo.value);
    if (m.error)
        return Fail(m.error);
    Result r = Value(name, std::string(ModeName(m.value)));
    r.fields.push_back({passband, std::to_string(DefaultPassband(m.value))});
    return r;
}

Result SetMode(RigModel& rig, Got<Vfo> vfo, RigMode mode)
{
    return Fail(vfo.error ? vfo.error : rig.SetMode(vfo.value, mode));
}

// The VFO the radio transmits on in split: the one it is not receiving on.
Got<Vfo> TxVfo(const RigModel& rig)
{
    const auto v = rig.CurrentVfo();
    return {v.error, OtherVfo(v.value)};
}

} // namespace

Got<Vfo> Session::Target() const
{
    const auto current = m_rig.CurrentVfo();
    if (current.error || !m_chosen)
        return current;
    return {rprt::kOk, *m_chosen};
}

Answer Session::Handle(std::string_view line)
{
    const Command c = ParseLine(line);
    if (c.error != rprt::kOk)
        return {FormatAnswer(c, c.error, {}), false, std::nullopt};

    Result r;
    std::optional<bool> keyed;
    switch (c.cmd) {
    case Cmd::GetFreq: r = Frequency(m_rig, Target(), "Frequency"); break;
    case Cmd::SetFreq: r = SetFrequency(m_rig, Target(), c.hz); break;
    case Cmd::GetMode: r = Mode(m_rig, Target(), "Mode", "Passband"); break;
    case Cmd::SetMode: r = SetMode(m_rig, Target(), c.mode); break;
    case Cmd::GetVfo: {
        const auto v = Target();
        r = v.error ? Fail(v.error) : Value("VFO", std::string(VfoName(v.value)));
        break;
    }
    case Cmd::SetVfo: {
        // Only a choice of this client's: nothing goes to the radio.
        const auto current = m_rig.CurrentVfo();
        if (!m_rig.Lit() || current.error) {
            r = Fail(current.error ? current.error : rprt::kNotAvailable);
            break;
        }
        if (c.currentVfo || c.vfo == current.value)
            m_chosen.reset();
        else
            m_chosen = c.vfo;
        break;
    }
    case Cmd::VfoOp:
        if (c.op != VfoOperation::Toggle) {
            r = Fail(rprt::kNotAvailable);
        } else if (const int e = m_rig.ToggleVfo(); e != rprt::kOk) {
            r = Fail(e);
        } else {
            m_chosen.reset(); // the client reads the VFO that became current, as on the radio
        }
        break;
    case Cmd::GetPtt: {
        const auto p = m_rig.Ptt();
        r = p.error ? Fail(p.error) : Value("PTT", p.value ? "1" : "0");
        break;
    }
    case Cmd::SetPtt: {
        const bool was = m_rig.Ptt().value;
        r = Fail(m_rig.SetPtt(c.on));
        if (r.code == rprt::kOk && (!c.on || !was))
            keyed = c.on;
        break;
    }
    case Cmd::GetSplitVfo: {
        const auto s = m_rig.Split();
        const auto tx = TxVfo(m_rig);
        if (s.error || tx.error) {
            r = Fail(s.error ? s.error : tx.error);
            break;
        }
        r = Value("Split", s.value ? "1" : "0");
        r.fields.push_back({"TX VFO", std::string(VfoName(tx.value))});
        break;
    }
    // The radio transmits on the other VFO in split whichever VFO the client names.
    case Cmd::SetSplitVfo: r = Fail(m_rig.SetSplit(c.on)); break;
    // The transmit VFO's frequency and mode, whether split is on yet or not, as a client sets them
    // before or after turning it on.
    case Cmd::GetSplitFreq: r = Frequency(m_rig, TxVfo(m_rig), "TX Frequency"); break;
    case Cmd::SetSplitFreq: r = SetFrequency(m_rig, TxVfo(m_rig), c.hz); break;
    case Cmd::GetSplitMode: r = Mode(m_rig, TxVfo(m_rig), "TX Mode", "TX Passband"); break;
    case Cmd::SetSplitMode: r = SetMode(m_rig, TxVfo(m_rig), c.mode); break;
    case Cmd::GetLevel: {
        const auto s = m_rig.SMeter();
        if (s.error)
            r = Fail(s.error);
        else
            r = c.level == Level::Strength ? Value("STRENGTH", std::to_string(StrengthDb(s.value)))
                                           : Value("RAWSTR", std::to_string(s.value));
        break;
    }
    // A dark panel is a radio switched off, as far as a client can tell.
    case Cmd::GetPowerstat: r = Value("Power Status", m_rig.Lit() ? "1" : "0"); break;
    case Cmd::ChkVfo: r = Value("CHKVFO", "0"); break;
    case Cmd::DumpState:
        for (const auto& l : DumpStateLines())
            r.fields.push_back({{}, l});
        break;
    // The panel's LOCK holds the knobs, not the client: never reported as locked.
    case Cmd::GetLockMode: r = Value("Locked", "0"); break;
    case Cmd::Quit: return {FormatAnswer(c, rprt::kOk, {}), true, std::nullopt};
    case Cmd::None: r = Fail(rprt::kNotImplemented); break;
    }
    return {FormatAnswer(c, r.code, r.fields), false, keyed};
}

} // namespace kivo::net
