#include "panel/ToneCodes.h"

#include "panel/PanelContext.h"

namespace kivo::panel {

namespace {

std::vector<std::string> OptionsOf(ToneCodes::Kind kind)
{
    std::vector<std::string> v;
    if (kind == ToneCodes::Kind::CTCSS) {
        for (const radio::CtcssRow& r : radio::CTCSSTable)
            v.push_back(std::to_string(r.tenthsHz / 10) + "." + std::to_string(r.tenthsHz % 10));
    } else {
        for (const radio::DcsRow& r : radio::DCSTable) {
            const std::string digits = std::to_string(r.code);
            v.push_back(std::string(3 - digits.size(), '0') + digits);
        }
    }
    return v;
}

} // namespace

ToneCodes::ToneCodes(Kind kind, state::ModKIVO& s, radio::RadioLink& cat)
    : m_kind(kind), m_s(s), m_cat(cat), m_options(OptionsOf(kind)),
      m_caption(kind == Kind::CTCSS ? "CTCSS Tone" : "DCS Code")
{
}

const char* ToneCodes::Frame() const { return m_kind == Kind::CTCSS ? "Frequency (Hz)" : "Code Number"; }

void ToneCodes::Show()
{
    m_sub = m_s.SubSelected;
    m_caption = std::string(m_kind == Kind::CTCSS ? "CTCSS Tone" : "DCS Code") + (m_sub ? " (SUB VFO)" : " (MAIN VFO)");
    const state::VFOInfo& v = m_sub ? m_s.VFOSB : m_s.VFOMB;
    const int index = m_kind == Kind::CTCSS ? v.CTCSSidx : v.DCSidx;
    m_selected = index >= 0 && index < int(m_options.size()) ? index : 0;
    m_open = true;
}

void ToneCodes::Select(int index)
{
    if (index >= 0 && index < int(m_options.size()))
        m_selected = index;
}

void ToneCodes::Store(int index)
{
    state::VFOInfo& v = m_sub ? m_s.VFOSB : m_s.VFOMB;
    (m_kind == Kind::CTCSS ? v.CTCSSidx : v.DCSidx) = state::Integer(index);
    // While the panel is dark nothing goes to the radio. POWER on loads the VFOs from the band
    // store and sends every field afresh, so that is where the choice must be.
    if (!m_s.CATOn) {
        auto& bd = m_s.BandData;
        state::VFOInfo& slot = m_sub ? bd.BandVFOSB[BandSlot(m_s.BandIdxSB)] : bd.BandVFOMB[BandSlot(m_s.BandIdxMB)];
        (m_kind == Kind::CTCSS ? slot.CTCSSidx : slot.DCSidx) = state::Integer(index);
        return;
    }
    // SUB keeps the sub VFO in the radio's current VFO, so each goes to the VFO it belongs to.
    if (m_kind == Kind::CTCSS) {
        if (m_sub)
            m_cat.SendCTCSSToneSB();
        else
            m_cat.SendCTCSSToneMB();
    } else {
        if (m_sub)
            m_cat.SendDCSCodeSB();
        else
            m_cat.SendDCSCodeMB();
    }
}

void ToneCodes::SAVE()
{
    Store(m_selected);
    m_open = false;
}

void ToneCodes::DEFAULT()
{
    m_selected = m_kind == Kind::CTCSS ? kDefaultCTCSS : kDefaultDCS;
    Store(m_selected);
}

} // namespace kivo::panel
