#include "memmgr/ChannelCsv.h"

#include "memmgr/Csv.h"
#include "memmgr/Fields.h"
#include "radio/CatCodec.h"
#include "state/Sanitize.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace kivo::memmgr {

using state::Integer;
using state::Long;
using state::MemRec;

namespace {

// Columns in the order of kChannelColumns.
enum Col {
    Location,
    Name,
    Frequency,
    Duplex,
    Offset,
    Tone,
    RTone,
    CTone,
    Dtcs,
    DtcsPolarity,
    RxDtcs,
    CrossMode,
    Mode,
    TStep,
    Skip,
    Power,
    Comment
};

constexpr int kDefaultCtcss = 8; // 88.5 Hz, the radio's own default
// Names by mode code; CWR is the radio's reverse CW, kept so that it survives a round trip.
constexpr std::array<const char*, 8> kModeNames = {"LSB", "USB", "CW", "CWR", "AM", "FM", "DIG", "PKT"};
constexpr std::array<const char*, 4> kToneNames = {"", "Tone", "TSQL", "DTCS"};

// 10 Hz units as MHz with six decimals.
std::string Mhz(long long freq) { return FormatDecimal(freq * 10, 6); }

template <class T> int Index(int i, const T& table) { return std::clamp(i, 0, int(table.size()) - 1); }

std::string ToneText(int idx) { return FormatDecimal(radio::CTCSSTable[Index(idx, radio::CTCSSTable)].tenthsHz, 1); }

std::string DcsText(int idx)
{
    std::string code = std::to_string(radio::DCSTable[Index(idx, radio::DCSTable)].code);
    return code.insert(0, 3 - std::min<std::size_t>(code.size(), 3), '0');
}

// The band whose receive coverage holds freq, or -1 outside the radio's coverage.
int CoveringBand(long long freq, const state::BandDataRec& bands)
{
    if (freq <= 0 || freq > INT32_MAX)
        return -1;
    const Integer b = state::BandOfFreq(Long(freq), -1);
    if (b >= 0 && bands.CoverLow[b] <= freq && freq <= bands.CoverHigh[b])
        return b;
    for (int k = 0; k < state::kBandCount; ++k)
        if (bands.CoverLow[k] <= freq && freq <= bands.CoverHigh[k])
            return k;
    return -1;
}

std::string Quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// One row's fields by column, read into a record; the first reason to refuse it ends the read.
class RowReader {
public:
    RowReader(const std::vector<std::string>& fields, const std::array<int, kChannelColumns.size()>& at,
              const state::BandDataRec& bands)
        : m_fields(fields), m_at(at), m_bands(bands)
    {
    }

    std::string Text(int col) const { return m_at[col] < 0 ? std::string() : Trim(m_fields[m_at[col]]); }
    std::string Raw(int col) const { return m_at[col] < 0 ? std::string() : m_fields[m_at[col]]; }

    // A frequency in MHz into 10 Hz units, inside the radio's coverage; band set to its band.
    std::optional<Long> Frequency(int col, int& band)
    {
        const std::string t = Text(col);
        long long hz = 0;
        const Decimal n = ParseDecimal(t, 6, hz);
        if (n == Decimal::Bad)
            return Fail("bad number " + Quoted(t) + " in " + kChannelColumns[col]);
        if (n == Decimal::TooFine || hz % 10 != 0)
            return Fail("frequency " + t + " MHz is finer than the radio's 10 Hz steps");
        band = CoveringBand(hz / 10, m_bands);
        if (band < 0)
            return Fail("frequency " + t + " MHz is outside the radio's coverage");
        return Long(hz / 10);
    }

    std::optional<Long> Offset()
    {
        const std::string t = Text(Col::Offset);
        long long hz = 0;
        if (t.empty())
            return 0;
        const Decimal n = ParseDecimal(t, 6, hz);
        if (n == Decimal::Bad || hz / 10 > INT32_MAX)
            return Fail("bad number " + Quoted(t) + " in Offset");
        if (n == Decimal::TooFine || hz % 10 != 0)
            return Fail("offset " + t + " MHz is finer than the radio's 10 Hz steps");
        return Long(hz / 10);
    }

    // Index of the CTCSS tone in col. Nothing when the field holds none of the radio's tones;
    // that refuses the row only when the row `needs` the tone.
    std::optional<int> Ctcss(int col, bool needed)
    {
        const std::string t = Text(col);
        long long tenths = 0;
        const Decimal n = ParseDecimal(t, 1, tenths);
        if (n == Decimal::Bad)
            return needed ? Fail("bad number " + Quoted(t) + " in " + kChannelColumns[col]) : std::nullopt;
        for (int i = 0; n == Decimal::Ok && i < int(radio::CTCSSTable.size()); ++i)
            if (radio::CTCSSTable[i].tenthsHz == tenths)
                return i;
        return needed ? Fail("tone " + t + " Hz is not one of the radio's CTCSS tones") : std::nullopt;
    }

    std::optional<int> DcsCode(bool needed)
    {
        const std::string t = Text(Col::Dtcs);
        long long code = 0;
        const bool digits = ParseDecimal(t, 0, code) == Decimal::Ok && t.find('.') == std::string::npos;
        if (!digits)
            return needed ? Fail("bad number " + Quoted(t) + " in DtcsCode") : std::optional<int>(0);
        for (int i = 0; i < int(radio::DCSTable.size()); ++i)
            if (radio::DCSTable[i].code == code)
                return i;
        return needed ? Fail("DCS code " + t + " is not one of the radio's DCS codes") : std::optional<int>(0);
    }

    std::string error;

private:
    std::optional<int> Fail(std::string why)
    {
        error = std::move(why);
        return std::nullopt;
    }

    const std::vector<std::string>& m_fields;
    const std::array<int, kChannelColumns.size()>& m_at;
    const state::BandDataRec& m_bands;
};

template <std::size_t N> int Lookup(const std::array<const char*, N>& names, const std::string& text)
{
    for (std::size_t i = 0; i < N; ++i)
        if (SameWord(names[i], text))
            return int(i);
    return -1;
}

// Fills m from the row, or returns why not.
std::optional<std::string> ReadChannel(RowReader& row, std::span<const MemRec> memory, MemRec& m, int& position)
{
    long long loc = 0;
    const std::string locText = row.Text(Col::Location);
    if (ParseDecimal(locText, 0, loc) != Decimal::Ok || locText.find('.') != std::string::npos)
        return "bad number " + Quoted(locText) + " in Location";
    if (loc >= state::kMemCount)
        return "Location " + locText + " is not a memory position (0 to 999)";
    position = int(loc);

    int band = 0;
    const auto freq = row.Frequency(Col::Frequency, band);
    if (!freq)
        return row.error;
    const std::string modeText = row.Text(Col::Mode);
    int mode = SameWord(modeText, "NFM") ? 5 : Lookup(kModeNames, modeText);
    if (mode < 0)
        return "unknown mode " + Quoted(modeText);
    const std::string duplex = row.Text(Col::Duplex);
    const bool split = SameWord(duplex, "split");
    if (!split && !duplex.empty() && duplex != "+" && duplex != "-")
        return "unknown duplex " + Quoted(duplex);
    int txBand = 0;
    std::optional<Long> offset = split ? row.Frequency(Col::Offset, txBand) : row.Offset();
    if (!offset)
        return row.error;
    const std::string toneText = row.Text(Col::Tone);
    const int toneMode = Lookup(kToneNames, toneText);
    if (toneMode < 0)
        return "unknown tone mode " + Quoted(toneText);
    // The radio has one tone for encode and decode: TSQL takes it from cToneFreq, the others
    // from rToneFreq; a tone the row does not use is kept when the radio has it.
    std::optional<int> ctcss = row.Ctcss(toneMode == 2 ? Col::CTone : Col::RTone, toneMode == 1 || toneMode == 2);
    if (!ctcss && !row.error.empty())
        return row.error;
    if (!ctcss)
        ctcss = row.Ctcss(Col::CTone, false).value_or(kDefaultCtcss);
    const std::optional<int> dcs = row.DcsCode(toneMode == 3);
    if (!dcs)
        return row.error;
    const std::string polarity = row.Text(Col::DtcsPolarity);
    if (toneMode == 3 && !polarity.empty() && !SameWord(polarity, "NN"))
        return "DCS polarity " + Quoted(polarity) + " is not the radio's (NN)";
    const std::string step = row.Text(Col::TStep);
    long long ignored = 0;
    if (!step.empty() && ParseDecimal(step, 6, ignored) == Decimal::Bad)
        return "bad number " + Quoted(step) + " in TStep";
    const std::string skip = row.Text(Col::Skip);
    if (!skip.empty() && !SameWord(skip, "S"))
        return "Skip " + Quoted(skip) + " is neither blank nor S";

    m = MemRec{};
    // Bank selection belongs to the position, not to the channel placed there.
    if (std::size_t(position) < memory.size())
        m.BankSel = memory[std::size_t(position)].BankSel;
    m.VFO1.Freq = *freq;
    m.VFO1.Mode = Integer(mode);
    m.VFO1.RptDir = Integer(duplex == "+" ? 1 : duplex == "-" ? -1 : 0);
    m.VFO1.RptOffset = split ? 0 : *offset;
    m.VFO1.ToneMode = Integer(toneMode);
    m.VFO1.CTCSSidx = Integer(*ctcss);
    m.VFO1.DCSidx = Integer(*dcs);
    m.Band1 = Integer(band);
    if (split) {
        // As a memory stored with SPLIT on: the split marker on receive, transmit in VFO2.
        m.Split = state::kTrue;
        m.VFO1.RptDir = -11;
        m.VFO2 = m.VFO1;
        m.VFO2.Freq = *offset;
        m.VFO2.RptDir = 0;
        m.Band2 = Integer(txBand);
    }
    m.Skip = skip.empty() ? state::kFalse : state::kTrue;
    const std::string name = row.Raw(Col::Name);
    m.Desc.Assign(Trim(name).empty() ? Trim(row.Raw(Col::Comment)) : name);
    return std::nullopt;
}

} // namespace

std::string ExportChannels(std::span<const MemRec> memory)
{
    std::string out;
    out.reserve(128 * (memory.size() + 1));
    AppendCsvRecord(out, std::vector<std::string>(kChannelColumns.begin(), kChannelColumns.end()));
    std::vector<std::string> f(kChannelColumns.size());
    for (std::size_t p = 0; p < memory.size() && p < std::size_t(state::kMemCount); ++p) {
        const MemRec& m = memory[p];
        if (!m.Used())
            continue;
        const bool split = m.Split == state::kTrue;
        const int tone = m.VFO1.ToneMode >= 0 && m.VFO1.ToneMode <= 3 ? m.VFO1.ToneMode : 0;
        f[Col::Location] = std::to_string(p);
        f[Col::Name] = m.Desc.Text();
        f[Col::Frequency] = Mhz(m.VFO1.Freq);
        f[Col::Duplex] = split ? "split" : m.VFO1.RptDir == 1 ? "+" : m.VFO1.RptDir == -1 ? "-" : "";
        // The offset is a magnitude; its sign is the duplex.
        f[Col::Offset] = Mhz(split ? m.VFO2.Freq : std::abs(static_cast<long long>(m.VFO1.RptOffset)));
        f[Col::Tone] = kToneNames[tone];
        f[Col::RTone] = f[Col::CTone] = ToneText(m.VFO1.CTCSSidx);
        f[Col::Dtcs] = f[Col::RxDtcs] = DcsText(m.VFO1.DCSidx);
        f[Col::DtcsPolarity] = "NN";
        f[Col::CrossMode] = "Tone->Tone";
        f[Col::Mode] = kModeNames[Index(m.VFO1.Mode, kModeNames)];
        f[Col::TStep] = "5.00";
        f[Col::Skip] = m.Skip != 0 ? "S" : "";
        AppendCsvRecord(out, f);
    }
    return out;
}

ImportResult ImportChannels(std::string_view csv, std::span<const MemRec> memory, const state::BandDataRec& bands)
{
    ImportResult result;
    if (csv.substr(0, 3) == "\xEF\xBB\xBF")
        csv.remove_prefix(3);
    const std::vector<CsvRecord> records = ParseCsv(csv);
    auto first = std::find_if(records.begin(), records.end(), [](const CsvRecord& r) { return !r.Blank(); });
    if (first == records.end()) {
        result.fatal = "the file is empty";
        return result;
    }
    std::array<int, kChannelColumns.size()> at{};
    at.fill(-1);
    for (std::size_t i = 0; i < first->fields.size(); ++i) {
        const int col = Lookup(kChannelColumns, Trim(first->fields[i]));
        if (col >= 0 && at[col] < 0)
            at[col] = int(i);
    }
    std::string missing;
    for (int col : {Col::Location, Col::Frequency, Col::Mode})
        if (at[col] < 0)
            missing += std::string(missing.empty() ? "" : ", ") + kChannelColumns[col];
    if (!missing.empty()) {
        result.fatal = "its first line names no " + missing + " column, so it is no channel list";
        return result;
    }
    std::array<int, state::kMemCount> takenOnLine{};
    for (auto r = first + 1; r != records.end(); ++r) {
        if (r->Blank())
            continue;
        auto refuse = [&](std::string why) { result.problems.push_back({r->line, std::move(why)}); };
        if (!r->complete) {
            refuse("the file ends inside a quoted field");
            continue;
        }
        if (r->fields.size() != first->fields.size()) {
            refuse(std::to_string(r->fields.size()) + " fields where the first line has " +
                   std::to_string(first->fields.size()));
            continue;
        }
        RowReader row(r->fields, at, bands);
        int position = 0;
        MemRec m;
        if (auto why = ReadChannel(row, memory, m, position)) {
            refuse(*why);
            continue;
        }
        if (takenOnLine[position] != 0) {
            refuse("Location " + std::to_string(position) + " was given already on line " +
                   std::to_string(takenOnLine[position]));
            continue;
        }
        takenOnLine[position] = r->line;
        result.channels.push_back({position, m});
    }
    return result;
}

std::string ProblemList(const std::vector<ImportProblem>& problems, std::size_t most)
{
    std::string out;
    for (std::size_t i = 0; i < problems.size() && i < most; ++i)
        out += "line " + std::to_string(problems[i].line) + ": " + problems[i].text + "\n";
    if (problems.size() > most)
        out += "and " + std::to_string(problems.size() - most) + " more\n";
    return out;
}

} // namespace kivo::memmgr
