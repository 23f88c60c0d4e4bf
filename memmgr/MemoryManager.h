#pragma once
// The memory manager without its window: a working copy of the memory
// database, the scratch pad, the 20 bank ticks, the edit commands and SAVE. The window shows
// what this holds and calls these operations; nothing here touches MemData before Save().

#include "platform/Dialogs.h"
#include "state/ModKIVO.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::memmgr {

inline constexpr int kBankCount = 20;
inline constexpr int kBankSize = 50;
inline constexpr int kColumnCount = 4;
// Column 3 holds the description, the one column that is edited.
inline constexpr int kDescColumn = 3;
inline constexpr int kDescLength = 49;

inline constexpr const char* kCaption = "Memory Manager";
inline constexpr std::array<const char*, kColumnCount> kHeadings = {"Channel", "Bank", "Freq", "Description"};
// Column widths in logical pixels.
inline constexpr std::array<int, kColumnCount> kColumnWidths = {49, 41, 65, 311};

// btnMemoryEdit(0..4)
enum class Edit { Cut = 0, Copy = 1, Paste = 2, Compress = 3, Insert = 4 };
inline constexpr std::array<const char*, 5> kEditCaptions = {"CUT", "COPY", "PASTE", "COMPRESS", "INSERT"};
inline constexpr std::array<const char*, 5> kEditToolTips = {
    "Delete the selected range of memory locations and save to the scratch pad",
    "Copy the selected range of memory locations to the scratch pad",
    "Paste the scratch pad memories starting at the current location",
    "Compress the memories in each memory bank",
    "Insert an empty memory into the current location",
};
inline constexpr const char* kSaveCaption = "SAVE";
inline constexpr const char* kSaveToolTip = "Save all changes you have made to the database";
inline constexpr const char* kCancelCaption = "CANCEL";
inline constexpr const char* kCancelToolTip = "Cancel all changes you have made to the database";

inline constexpr const char* kBankFullText = "The current memory bank is full. You must delete a memory from this bank "
                                             "before you can insert a new empty position.";
inline constexpr const char* kBankFullTitle = "Insert Error";
inline constexpr const char* kNoBankText = "Please select at least one of the Memory Banks by clicking on the box next "
                                           "to it with your left mouse button.";
inline constexpr const char* kNoBankTitle = "Memory Bank Warning";

// Bank k (1..20) of position p (0..999).
constexpr int BankOf(int p) { return p / kBankSize + 1; }
constexpr int FirstOfBank(int k) { return kBankSize * (k - 1); }
constexpr int LastOfBank(int k) { return kBankSize * k - 1; }
// "01 - (000-049)" .. "20 - (950-999)": the caption of chkBank(k).
std::string BankCaption(int k);

// Rows [first, last] that changed and must be drawn again; empty when first > last.
struct RowRange {
    int first = 0;
    int last = -1;
    bool Empty() const { return first > last; }
    bool operator==(const RowRange&) const = default;
};

class MemoryManager {
public:
    // Opening: the working copy from MemData, each bank ticked when its first position is marked.
    MemoryManager(state::ModKIVO& s, platform::Dialogs& dialogs);

    const state::MemRec& WorkMem(int p) const { return m_work[Clamp(p)]; }
    const state::MemRec& PadMem(int n) const { return m_pad[Clamp(n)]; }
    int PadCount() const { return m_padCount; }

    bool BankTicked(int k) const;
    // chkBank(k) click: every position of bank k gets BankSel -1 when ticked, else 0.
    void TickBank(int k, bool ticked);

    // The table's text: "00#", "##", "###\.###.00" (blank for an empty position), Desc trimmed.
    std::string CellText(int row, int column) const;

    // DeleteAMemory: empties working position p; its BankSel stays.
    void DeleteAMemory(int p);
    // The selected rows to the scratch pad (and emptied, for Cut). Either end may come first.
    RowRange Cut(int firstRow, int lastRow);
    void Copy(int firstRow, int lastRow);
    // The scratch pad from row on, stopping after row 999; the pad stays filled.
    RowRange Paste(int row);
    // The used memories of each bank to its start, in their order; nothing crosses a bank.
    RowRange Compress();
    // An empty position at row, the memories below it moved down to the bank's first empty
    // one. A bank without one below row is refused with a message and left as it was.
    RowRange Insert(int row);
    // btnMemoryEdit(index) with the selection's rows and the current row.
    RowRange ApplyEdit(Edit index, int firstRow, int lastRow, int currentRow);

    // Commit of the in-cell editor: the description of row, cut to 49 characters.
    void SetDesc(int row, std::string_view utf8);

    // SAVE: refused with a message while no bank is ticked (returns false, the window stays).
    // Otherwise the working copy becomes MemData and the database is marked changed.
    bool Save();
    // CANCEL: nothing is copied back and MemChanged stays as it was when the window opened.
    void Cancel() {}

private:
    static int Clamp(int p) { return p < 0 ? 0 : p >= state::kMemCount ? state::kMemCount - 1 : p; }

    state::ModKIVO& m_s;
    platform::Dialogs& m_dialogs;
    std::vector<state::MemRec> m_work;
    std::vector<state::MemRec> m_pad;
    int m_padCount = 0;
    std::array<bool, kBankCount> m_ticked{};
};

} // namespace kivo::memmgr
