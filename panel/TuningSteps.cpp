#include "panel/TuningSteps.h"

namespace kivo::panel {

using platform::DisplayModel;

const std::vector<StepEntry> kCHboxFM{{"5 KHz", 500},   {"6.25 KHz", 625}, {"10 KHz", 1000}, {"12.5 KHz", 1250},
                                      {"15 KHz", 1500}, {"20 KHz", 2000},  {"25 KHz", 2500}};
const std::vector<StepEntry> kCHboxAM{{"2.5 KHz", 250},   {"5.0 KHz", 500},   {"9.0 KHz", 900},
                                      {"10.0 KHz", 1000}, {"12.5 KHz", 1250}, {"25.0 KHz", 2500}};
const std::vector<StepEntry> kCHboxSSB{{"1.0 KHz", 100}, {"2.5 KHz", 250}, {"5.0 KHz", 500}};
const std::vector<StepEntry> kVFObox{{".01 KHz", 1}, {".10 KHz", 10}, {"1.0 KHz", 100}};

namespace {

enum Mode { LSB = 0, USB, CW, CWR, AM, FM, DIG, PKT };

std::string Entries(const std::vector<StepEntry>& list)
{
    std::string s;
    for (const auto& e : list)
        s += (s.empty() ? "" : "|") + std::string(e.text);
    return s;
}

} // namespace

TuningSteps::TuningSteps(state::ModKIVO& s, platform::DisplayModel& display) : m_s(s), m_display(display)
{
    m_display.SetCaption("frmTuningSteps", "Tuning Steps");
    m_display.SetVisible("frmTuningSteps", false);
    const char* frames[] = {"430 MHz - MEM / VFO CH", "144 MHz - MEM / VFO CH", "50 MHz - MEM / VFO CH",
                            "HF - MEM / VFO CH", "MAIN DIAL"};
    for (int i = 0; i < 5; ++i)
        m_display.SetCaption(DisplayModel::Indexed("fraSteps", i), frames[i]);
    for (int k = 0; k < 4; ++k) {
        m_display.SetCaption(DisplayModel::Indexed("CHboxFM", k), Entries(kCHboxFM));
        m_display.SetCaption(DisplayModel::Indexed("CHboxAM", k), Entries(kCHboxAM));
        m_display.SetCaption(DisplayModel::Indexed("CHboxSSB", k), Entries(kCHboxSSB));
        for (const char* box : {"CHboxFM", "CHboxAM", "CHboxSSB"})
            m_display.SetValue(DisplayModel::Indexed(box, k), -1); // no selection yet
        m_display.SetCaption(DisplayModel::Indexed("lblCHboxFM", k), "FM / PKT");
        m_display.SetCaption(DisplayModel::Indexed("lblCHboxAM", k), "AM");
        m_display.SetCaption(DisplayModel::Indexed("lblCHboxSSB", k), "SSB / CW / DIG");
    }
    for (int i = 3; i <= 5; ++i) {
        m_display.SetCaption(DisplayModel::Indexed("VFObox", i), Entries(kVFObox));
        m_display.SetValue(DisplayModel::Indexed("VFObox", i), -1);
    }
    m_display.SetCaption("lblVFObox(5)", "FM / PKT");
    m_display.SetCaption("lblVFObox(4)", "AM");
    m_display.SetCaption("lblVFObox(3)", "SSB / CW / DIG");
    m_display.SetCaption("cmdSave", "SAVE");
    m_display.SetCaption("cmdDefault", "DEFAULT");
    m_display.SetCaption("cmdCancel", "CANCEL");
}

const std::vector<StepEntry>& TuningSteps::ListOf(const std::string& box)
{
    if (box == "CHboxFM")
        return kCHboxFM;
    if (box == "CHboxAM")
        return kCHboxAM;
    if (box == "CHboxSSB")
        return kCHboxSSB;
    return kVFObox;
}

bool TuningSteps::IsOpen() const { return m_display.Has("frmTuningSteps") && m_display.Get("frmTuningSteps").visible; }

void TuningSteps::Show()
{
    DisplayStepValues();
    m_display.SetVisible("frmTuningSteps", true);
}

void TuningSteps::Show(const std::string& box, int index, const std::vector<StepEntry>& list, state::Long value)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].value == value) {
            m_display.SetValue(DisplayModel::Indexed(box, index), double(i));
            return;
        }
    // A value not in the list leaves the selection as it is.
}

void TuningSteps::DisplayStepValues()
{
    const auto& ch = m_s.Settings.ChannelStep;
    const auto& dial = m_s.Settings.DialStep;
    for (int k = 0; k < 4; ++k) {
        Show("CHboxSSB", k, kCHboxSSB, ch[k][LSB]);
        Show("CHboxAM", k, kCHboxAM, ch[k][AM]);
        Show("CHboxFM", k, kCHboxFM, ch[k][FM]);
    }
    Show("VFObox", 3, kVFObox, dial[1][CWR]);
    Show("VFObox", 4, kVFObox, dial[1][AM]);
    Show("VFObox", 5, kVFObox, dial[1][FM]);
}

void TuningSteps::Select(const std::string& box, int index, int entry)
{
    const auto& list = ListOf(box);
    if (entry < 0 || entry >= int(list.size()))
        return;
    m_display.SetValue(DisplayModel::Indexed(box, index), entry);
}

state::Long TuningSteps::ValueOf(const std::string& box, int index) const
{
    const std::string name = DisplayModel::Indexed(box, index);
    if (!m_display.Has(name))
        return 0;
    const int i = int(m_display.Get(name).value);
    const auto& list = ListOf(box);
    return i >= 0 && i < int(list.size()) ? list[std::size_t(i)].value : 0;
}

void TuningSteps::SAVE()
{
    const state::Long ssbDial = ValueOf("VFObox", 3), amDial = ValueOf("VFObox", 4), fmDial = ValueOf("VFObox", 5);
    for (int b = 0; b < state::kBandCount; ++b) {
        const int k = b < 3 ? b : 3;
        auto& d = m_s.Settings.DialStep[b];
        auto& c = m_s.Settings.ChannelStep[b];
        // A box with no selection keeps what the table has.
        auto put = [](state::Long& slot, state::Long v) {
            if (v > 0)
                slot = v;
        };
        for (int m : {LSB, USB, CW, CWR, DIG})
            put(d[m], ssbDial);
        put(d[AM], amDial);
        put(d[FM], fmDial);
        put(d[PKT], fmDial);
        const state::Long ssb = ValueOf("CHboxSSB", k), am = ValueOf("CHboxAM", k), fm = ValueOf("CHboxFM", k);
        for (int m : {LSB, USB, CW, CWR, DIG})
            put(c[m], ssb);
        put(c[AM], am);
        put(c[FM], fm);
        put(c[PKT], fm);
    }
    m_display.SetVisible("frmTuningSteps", false);
}

void TuningSteps::DEFAULT()
{
    state::ResetStepDefaults(m_s.Settings);
    DisplayStepValues();
}

void TuningSteps::CANCEL() { m_display.SetVisible("frmTuningSteps", false); }

} // namespace kivo::panel
