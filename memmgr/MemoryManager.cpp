#include "memmgr/MemoryManager.h"

#include "memmgr/Fields.h"
#include "radio/CatCodec.h"

#include <algorithm>

namespace kivo::memmgr {

using state::kMemCount;
using state::MemRec;

namespace {

// n with leading zeros to `width` digits.
std::string Digits(int n, std::size_t width)
{
    std::string s = std::to_string(n);
    return s.size() < width ? std::string(width - s.size(), '0') + s : s;
}

} // namespace

std::string BankCaption(int k)
{
    return Digits(k, 2) + " - (" + Digits(FirstOfBank(k), 3) + "-" + Digits(LastOfBank(k), 3) + ")";
}

MemoryManager::MemoryManager(state::ModKIVO& s, platform::Dialogs& dialogs)
    : m_s(s), m_dialogs(dialogs), m_work(s.MemData.begin(), s.MemData.end()), m_pad(kMemCount)
{
    // The first position of a bank decides; ticking marks the whole bank.
    for (int k = 1; k <= kBankCount; ++k)
        if (m_work[FirstOfBank(k)].BankSel == state::kTrue)
            TickBank(k, true);
}

bool MemoryManager::BankTicked(int k) const { return k >= 1 && k <= kBankCount && m_ticked[k - 1]; }

void MemoryManager::TickBank(int k, bool ticked)
{
    if (k < 1 || k > kBankCount)
        return;
    m_ticked[k - 1] = ticked;
    for (int p = FirstOfBank(k); p <= LastOfBank(k); ++p)
        m_work[p].BankSel = ticked ? state::kTrue : state::kFalse;
}

std::string MemoryManager::CellText(int row, int column) const
{
    const MemRec& m = WorkMem(row);
    switch (column) {
    case 0: return Digits(Clamp(row), 3);
    case 1: return std::to_string(BankOf(Clamp(row)));
    // The picture would show an empty position as a lone point; the panel blanks it, so does this.
    case 2: return m.Used() ? radio::FreqText(m.VFO1.Freq) : std::string();
    case kDescColumn: return Trim(m.Desc.Text());
    default: return {};
    }
}

void MemoryManager::DeleteAMemory(int p)
{
    MemRec& m = m_work[Clamp(p)];
    const state::Integer bankSel = m.BankSel;
    m = MemRec{};
    m.Desc.Assign("");
    m.BankSel = bankSel;
    m.Skip = state::kTrue;
}

RowRange MemoryManager::Cut(int firstRow, int lastRow)
{
    Copy(firstRow, lastRow);
    if (m_padCount == 0)
        return {};
    const int first = Clamp(std::min(firstRow, lastRow));
    for (int r = first; r < first + m_padCount; ++r)
        DeleteAMemory(r);
    return {first, first + m_padCount - 1};
}

void MemoryManager::Copy(int firstRow, int lastRow)
{
    // A selection made upwards is the same rows as one made downwards.
    const int first = Clamp(std::min(firstRow, lastRow));
    const int last = Clamp(std::max(firstRow, lastRow));
    std::fill(m_pad.begin(), m_pad.end(), MemRec{});
    std::copy(m_work.begin() + first, m_work.begin() + last + 1, m_pad.begin());
    m_padCount = last - first + 1;
}

RowRange MemoryManager::Paste(int row)
{
    const int start = Clamp(row);
    const int end = std::min(start + m_padCount, kMemCount);
    std::copy(m_pad.begin(), m_pad.begin() + (end - start), m_work.begin() + start);
    return {start, end - 1};
}

RowRange MemoryManager::Compress()
{
    RowRange changed;
    for (int b = 0; b < kMemCount; b += kBankSize) {
        const int bankLast = b + kBankSize - 1;
        for (int r = b; r < bankLast; ++r) {
            if (m_work[r].VFO1.Freq != 0)
                continue;
            int s = r + 1;
            while (s <= bankLast && m_work[s].VFO1.Freq <= 0)
                ++s;
            if (s > bankLast)
                break; // nothing used below r in this bank
            m_work[r] = m_work[s];
            DeleteAMemory(s);
            changed.first = changed.Empty() ? r : std::min(changed.first, r);
            changed.last = std::max(changed.last, s);
        }
    }
    return changed;
}

RowRange MemoryManager::Insert(int row)
{
    const int start = Clamp(row);
    const int last = LastOfBank(BankOf(start));
    int e = start;
    while (e <= last && m_work[e].VFO1.Freq != 0)
        ++e;
    if (e > last) {
        m_dialogs.MessageBox(kBankFullText, kBankFullTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
        return {};
    }
    std::move_backward(m_work.begin() + start, m_work.begin() + e, m_work.begin() + e + 1);
    DeleteAMemory(start);
    return {start, e};
}

RowRange MemoryManager::ApplyEdit(Edit index, int firstRow, int lastRow, int currentRow)
{
    switch (index) {
    case Edit::Cut: return Cut(firstRow, lastRow);
    case Edit::Copy: Copy(firstRow, lastRow); return {};
    case Edit::Paste: return Paste(currentRow);
    case Edit::Compress: return Compress();
    case Edit::Insert: return Insert(currentRow);
    }
    return {};
}

void MemoryManager::SetDesc(int row, std::string_view utf8)
{
    // Characters beyond 49 are dropped; one with no Windows-1252 byte becomes '?'.
    m_work[Clamp(row)].Desc.Assign(utf8);
}

bool MemoryManager::Save()
{
    if (std::none_of(m_ticked.begin(), m_ticked.end(), [](bool t) { return t; })) {
        m_dialogs.MessageBox(kNoBankText, kNoBankTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
        return false;
    }
    std::copy(m_work.begin(), m_work.end(), m_s.MemData.begin());
    m_s.MemChanged = true;
    // Kept equal to the used positions: a count left above them (after CUT) would send memory
    // stepping looking for a used position that is not there.
    m_s.MemCount = int(std::count_if(m_work.begin(), m_work.end(), [](const MemRec& m) { return m.Used(); }));
    return true;
}

} // namespace kivo::memmgr
