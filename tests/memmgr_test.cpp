// The memory manager without its window: bank ticks, the edit commands, the editor's commit,
// SAVE and CANCEL.

#include "memmgr/MemoryManager.h"
#include "platform/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace kivo;
using memmgr::MemoryManager;
using memmgr::RowRange;
using state::MemRec;

namespace {

MemRec Used(state::Long freq, const std::string& desc = "")
{
    MemRec m;
    m.VFO1.Freq = freq;
    m.VFO1.Mode = 5;
    m.Band1 = 1;
    m.Desc.Assign(desc);
    return m;
}

class Manager : public ::testing::Test {
protected:
    // Bank 1 ticked unless a test says otherwise, so that SAVE is allowed.
    void SetUp() override { s.MemData[0].BankSel = state::kTrue; }
    MemoryManager& Open()
    {
        mgr = std::make_unique<MemoryManager>(s, dialogs);
        return *mgr;
    }
    const MemRec& Work(int p) const { return mgr->WorkMem(p); }
    bool Empty(int p) const { return Work(p).VFO1.Freq == 0; }
    std::string Desc(int p) const { return Work(p).Desc.Text(); }

    state::ModKIVO s;
    platform::ScriptedDialogs dialogs;
    std::unique_ptr<MemoryManager> mgr;
};

TEST(BankCaption, NamesTheBankAndItsPositions)
{
    struct Row {
        int k;
        const char* caption;
    };
    for (const Row& r :
         {Row{1, "01 - (000-049)"}, Row{2, "02 - (050-099)"}, Row{10, "10 - (450-499)"}, Row{20, "20 - (950-999)"}})
        EXPECT_EQ(memmgr::BankCaption(r.k), r.caption) << r.k;
}

TEST_F(Manager, TheFirstPositionOfABankDecidesItsTick)
{
    s.MemData[51].BankSel = state::kTrue; // bank 2: its first position, 50, is not marked
    Open();
    EXPECT_TRUE(mgr->BankTicked(1));
    for (int p = 0; p < 50; ++p)
        ASSERT_EQ(Work(p).BankSel, state::kTrue) << p;
    EXPECT_FALSE(mgr->BankTicked(2));
    EXPECT_EQ(Work(50).BankSel, 0);
    EXPECT_EQ(Work(51).BankSel, state::kTrue) << "keeps its mark";
    EXPECT_EQ(s.MemData[1].BankSel, 0) << "only the working copy is marked";
}

TEST_F(Manager, ABankCheckBoxMarksOrClearsEveryPositionOfItsBank)
{
    Open();
    mgr->TickBank(3, true);
    for (int p = 100; p < 150; ++p)
        ASSERT_EQ(Work(p).BankSel, state::kTrue) << p;
    EXPECT_EQ(Work(99).BankSel, 0);
    EXPECT_EQ(Work(150).BankSel, 0);
    mgr->TickBank(1, false);
    for (int p = 0; p < 50; ++p)
        ASSERT_EQ(Work(p).BankSel, 0) << p;
}

TEST_F(Manager, CellsShowNumberBankFrequencyAndTrimmedDescription)
{
    s.MemData[7] = Used(14420000, "  Repeater  ");
    s.MemData[999] = Used(712500);
    Open();
    struct Row {
        int row, column;
        const char* text;
    };
    for (const Row& r : {
             Row{7, 0, "007"},
             Row{7, 1, "1"},
             Row{7, 2, "144.200.00"},
             Row{7, 3, "Repeater"},
             Row{50, 1, "2"},
             Row{999, 0, "999"},
             Row{999, 1, "20"},
             Row{999, 2, "7.125.00"},
             Row{8, 2, ""}, // an empty position shows no frequency
             Row{8, 3, ""},
         })
        EXPECT_EQ(mgr->CellText(r.row, r.column), r.text) << r.row << "," << r.column;
}

TEST_F(Manager, CutTakesRowsToThePadAndPasteLaysThemDownInOrder)
{
    for (int p = 10; p <= 12; ++p)
        s.MemData[p] = Used(14500000 + p, "ch" + std::to_string(p));
    Open();
    EXPECT_EQ(mgr->Cut(10, 12), (RowRange{10, 12}));
    EXPECT_EQ(mgr->PadCount(), 3);
    for (int p = 10; p <= 12; ++p) {
        EXPECT_TRUE(Empty(p)) << p;
        EXPECT_EQ(Work(p).Skip, state::kTrue) << p;
        EXPECT_EQ(Desc(p), "") << p;
        EXPECT_EQ(Work(p).BankSel, state::kTrue) << "stays: bank 1 is ticked";
    }
    EXPECT_EQ(mgr->Paste(40), (RowRange{40, 42}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Work(40 + i).VFO1.Freq, 14500010 + i);
        EXPECT_EQ(Desc(40 + i), "ch" + std::to_string(10 + i));
    }
    mgr->Paste(100);
    EXPECT_EQ(Work(102).VFO1.Freq, 14500012) << "the pad stays filled";
}

TEST_F(Manager, ASelectionMadeUpwardsTakesTheSameRows)
{
    for (int p = 10; p <= 12; ++p)
        s.MemData[p] = Used(14500000 + p);
    Open();
    mgr->ApplyEdit(memmgr::Edit::Copy, 12, 10, 0);
    EXPECT_EQ(mgr->PadCount(), 3);
    EXPECT_EQ(mgr->PadMem(0).VFO1.Freq, 14500010);
    EXPECT_FALSE(Empty(10)) << "COPY leaves the rows";
}

TEST_F(Manager, PasteStopsAfterTheLastPosition)
{
    for (int p = 0; p < 5; ++p)
        s.MemData[p] = Used(14500000 + p);
    Open();
    mgr->Copy(0, 4);
    EXPECT_EQ(mgr->Paste(997), (RowRange{997, 999}));
    EXPECT_EQ(Work(999).VFO1.Freq, 14500002);
}

TEST_F(Manager, CompressMovesABanksMemoriesToItsStartInOrder)
{
    s.MemData[3] = Used(14500003, "three");
    s.MemData[7] = Used(14500007, "seven");
    s.MemData[49] = Used(14500049, "forty-nine");
    s.MemData[75] = Used(14500075, "bank two");
    Open();
    mgr->Compress();
    EXPECT_EQ(Desc(0), "three");
    EXPECT_EQ(Desc(1), "seven");
    EXPECT_EQ(Desc(2), "forty-nine");
    for (int p = 3; p < 50; ++p)
        ASSERT_TRUE(Empty(p)) << p;
    EXPECT_EQ(Desc(50), "bank two") << "to the start of its own bank, never into another";
    EXPECT_TRUE(Empty(75));
}

TEST_F(Manager, InsertOpensAnEmptyPositionInsideTheBank)
{
    s.MemData[50] = Used(14500050, "fifty");
    s.MemData[51] = Used(14500051, "fifty-one");
    Open();
    EXPECT_EQ(mgr->Insert(50), (RowRange{50, 52}));
    EXPECT_TRUE(Empty(50));
    EXPECT_EQ(Desc(51), "fifty");
    EXPECT_EQ(Desc(52), "fifty-one");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Manager, InsertIntoAFullBankIsRefusedAndChangesNothing)
{
    for (int p = 110; p < 150; ++p)
        s.MemData[p] = Used(14500000 + p);
    s.MemData[105] = MemRec{}; // empty, but above the current row
    Open();
    EXPECT_TRUE(mgr->Insert(110).Empty());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Insert Error");
    EXPECT_EQ(dialogs.boxes[0].text, memmgr::kBankFullText);
    EXPECT_EQ(dialogs.boxes[0].icon, platform::Icon::Exclamation);
    for (int p = 110; p < 150; ++p)
        ASSERT_EQ(Work(p), s.MemData[p]) << p;
}

TEST_F(Manager, ADescriptionIsCutTo49Characters)
{
    Open();
    const std::string sixty(60, 'x');
    mgr->SetDesc(5, sixty);
    EXPECT_EQ(Desc(5), std::string(49, 'x'));
    mgr->SetDesc(5, "Caf\xC3\xA9");
    EXPECT_EQ(Desc(5), "Caf\xC3\xA9") << "Windows-1252 letters kept";
}

TEST_F(Manager, SaveWithNoBankTickedIsRefused)
{
    s.MemData[0].BankSel = 0;
    s.MemData[3] = Used(14500003);
    Open();
    mgr->Cut(3, 3);
    EXPECT_FALSE(mgr->Save());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Memory Bank Warning");
    EXPECT_EQ(dialogs.boxes[0].text, memmgr::kNoBankText);
    EXPECT_TRUE(s.MemData[3].Used());
    EXPECT_FALSE(s.MemChanged);
}

TEST_F(Manager, SaveCopiesTheWorkingCopyMarksItChangedAndCountsTheUsed)
{
    s.MemData[3] = Used(14500003);
    s.MemData[4] = Used(14500004);
    s.MemCount = 2;
    Open();
    mgr->Cut(3, 3);
    mgr->SetDesc(4, "kept");
    EXPECT_TRUE(mgr->Save());
    EXPECT_FALSE(s.MemData[3].Used());
    EXPECT_EQ(s.MemData[4].Desc.Text(), "kept");
    EXPECT_TRUE(s.MemChanged);
    EXPECT_EQ(s.MemCount, 1);
}

TEST_F(Manager, CancelCopiesNothingAndLeavesTheChangedFlagAsItWas)
{
    s.MemData[3] = Used(14500003);
    for (bool before : {false, true}) {
        s.MemChanged = before;
        const auto data = s.MemData;
        Open();
        mgr->Cut(3, 3);
        mgr->TickBank(2, true);
        mgr->Cancel();
        EXPECT_EQ(s.MemData, data);
        EXPECT_EQ(s.MemChanged, before) << "a stored memory still wants saving";
    }
}

} // namespace
