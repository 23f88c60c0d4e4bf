#include "panel/TuningSteps.h"

#include "platform/Elements.h"

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
    m_display.SetCaption(el::TuningStepsDialog, "Tuning Steps");
    m_display.SetVisible(el::TuningStepsDialog, false);
    const char* frames[] = {"430 MHz - MEM / VFO CH", "144 MHz - MEM / VFO CH", "50 MHz - MEM / VFO CH",
                            "HF - MEM / VFO CH", "MAIN DIAL"};
    for (int i = 0; i < 5; ++i)
        m_display.SetCaption(el::fraSteps(i), frames[i]);
    for (int k = 0; k < 4; ++k) {
        m_display.SetCaption(el::CHboxFM(k), Entries(kCHboxFM));
        m_display.SetCaption(el::CHboxAM(k), Entries(kCHboxAM));
        m_display.SetCaption(el::CHboxSSB(k), Entries(kCHboxSSB));
        for (const el::Array& box : {el::CHboxFM, el::CHboxAM, el::CHboxSSB})
            m_display.SetValue(box(k), -1); // no selection yet
        m_display.SetCaption(el::lblCHboxFM(k), "FM / PKT");
        m_display.SetCaption(el::lblCHboxAM(k), "AM");
        m_display.SetCaption(el::lblCHboxSSB(k), "SSB / CW / DIG");
    }
    for (int i = 3; i <= 5; ++i) {
        m_display.SetCaption(el::VFObox(i), Entries(kVFObox));
        m_display.SetValue(el::VFObox(i), -1);
    }
    m_display.SetCaption(el::lblVFObox(5), "FM / PKT");
    m_display.SetCaption(el::lblVFObox(4), "AM");
    m_display.SetCaption(el::lblVFObox(3), "SSB / CW / DIG");
    m_display.SetCaption(el::cmdSave, "SAVE");
    m_display.SetCaption(el::cmdDefault, "DEFAULT");
    m_display.SetCaption(el::cmdCancel, "CANCEL");
}

const std::vector<StepEntry>& TuningSteps::ListOf(const std::string& box)
{
    if (box == el::CHboxFM.name)
        return kCHboxFM;
    if (box == el::CHboxAM.name)
        return kCHboxAM;
    if (box == el::CHboxSSB.name)
        return kCHboxSSB;
    return kVFObox;
}

bool TuningSteps::IsOpen() const
{
    return m_display.Has(el::TuningStepsDialog) && m_display.Get(el::TuningStepsDialog).visible;
}

void TuningSteps::Show()
{
    DisplayStepValues();
    m_display.SetVisible(el::TuningStepsDialog, true);
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
        Show(el::CHboxSSB.name, k, kCHboxSSB, ch[k][LSB]);
        Show(el::CHboxAM.name, k, kCHboxAM, ch[k][AM]);
        Show(el::CHboxFM.name, k, kCHboxFM, ch[k][FM]);
    }
    Show(el::VFObox.name, 3, kVFObox, dial[1][CWR]);
    Show(el::VFObox.name, 4, kVFObox, dial[1][AM]);
    Show(el::VFObox.name, 5, kVFObox, dial[1][FM]);
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
    const state::Long ssbDial = ValueOf(el::VFObox.name, 3), amDial = ValueOf(el::VFObox.name, 4),
                      fmDial = ValueOf(el::VFObox.name, 5);
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
        const state::Long ssb = ValueOf(el::CHboxSSB.name, k), am = ValueOf(el::CHboxAM.name, k),
                          fm = ValueOf(el::CHboxFM.name, k);
        for (int m : {LSB, USB, CW, CWR, DIG})
            put(c[m], ssb);
        put(c[AM], am);
        put(c[FM], fm);
        put(c[PKT], fm);
    }
    m_display.SetVisible(el::TuningStepsDialog, false);
}

void TuningSteps::DEFAULT()
{
    state::ResetStepDefaults(m_s.Settings);
    DisplayStepValues();
}

void TuningSteps::CANCEL() { m_display.SetVisible(el::TuningStepsDialog, false); }

} // namespace kivo::panel
