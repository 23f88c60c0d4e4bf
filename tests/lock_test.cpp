// File > Lock Menus... and Unlock Menus...: the password rules and messages, what the lock
// disables, MOX while locked, and that nothing of it is kept.

#include "lock/MenuLock.h"
#include "tests/support/LitMenusRig.h"

#include <fstream>
#include <sstream>

using namespace kivo;
using platform::Buttons;

namespace {

const char* const kLockRefused = "Password must be longer than 3 characters and may not contain empty space!";

// Lit on the simulator with the usual files, the lock and the menus over them.
class Lock : public kivo::testing::LitMenusRig {
protected:
    lock::MenuLock menuLock{s, display, dialogs};

    bool LockWith(const std::string& password)
    {
        menuLock.SetCaption(lock::kLockCaption);
        return menuLock.Confirm(password);
    }
    bool UnlockWith(const std::string& password)
    {
        menuLock.SetCaption(lock::kUnlockCaption);
        return menuLock.Confirm(password);
    }
    // The entries the lock disables, and the one it never does.
    void ExpectMenusOpen(bool open)
    {
        for (int i : {0, 1, 3, 4, 6, 9})
            EXPECT_EQ(Enabled(el::mnuFileArray(i)), open) << i;
        EXPECT_EQ(Enabled(el::mnuSettings), open);
        EXPECT_EQ(Enabled(el::mnuMemory), open);
        EXPECT_TRUE(Enabled(el::mnuFileArray(7)));
    }
    void Mox()
    {
        panel.Transmit().PressMox();
        loop.Advance(0.3);
    }
};

TEST_F(Lock, FourToTenCharactersWithoutABlankLock)
{
    struct Case {
        const char* password;
        bool accepted;
    };
    const Case cases[] = {
        {"abc", false},   {"abcd", true}, {"abcdefghij", true}, {"abcdefghijk", false},
        {"ab cd", false}, {"", false},    {"abcd ", false},     {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password);
        lock::MenuLock fresh{s, display, dialogs};
        s.MenusLocked = false;
        dialogs.boxes.clear();
        fresh.SetCaption(lock::kLockCaption);
        EXPECT_EQ(fresh.Confirm(c.password), c.accepted);
        EXPECT_EQ(s.MenusLocked, c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(dialogs.boxes.empty());
            EXPECT_EQ(fresh.LockPassword().substr(0, std::string(c.password).size()), c.password);
        } else {
            ExpectOneBox(kLockRefused, "Lock Menus", platform::Icon::None, Buttons::Ok);
            EXPECT_EQ(fresh.LockPassword(), "");
        }
        // Unlocked again for the next case.
        fresh.SetCaption(lock::kUnlockCaption);
        fresh.Confirm(c.password);
    }
}

TEST_F(Lock, ThePasswordIsKeptBlankPaddedToTen)
{
    ASSERT_TRUE(LockWith("Abcd"));
    EXPECT_EQ(menuLock.LockPassword(), "Abcd      ");
}

TEST_F(Lock, LockedTheFileSettingsAndMemoryMenusAndMoxAreDeadAndHelpWorks)
{
    ASSERT_TRUE(LockWith("Secret"));
    ExpectMenusOpen(false);
    Mox();
    EXPECT_FALSE(radio.Transmitting());
    EXPECT_TRUE(TakeSent().empty());
    menus.Click(panel::MenuGroup::Help, 0);
    EXPECT_EQ(dialogs.helpTopics, std::vector<std::string>{"Contents"});
}

TEST_F(Lock, UnlockingWantsTheSameLettersInTheSameCase)
{
    ASSERT_TRUE(LockWith("Secret"));
    EXPECT_FALSE(UnlockWith("secret"));
    ExpectOneBox("Invalid Password, try again!", "Login", platform::Icon::None, Buttons::Ok);
    EXPECT_TRUE(s.MenusLocked);
    ExpectMenusOpen(false);
    EXPECT_FALSE(UnlockWith("Secret "));

    EXPECT_TRUE(UnlockWith("Secret"));
    EXPECT_FALSE(s.MenusLocked);
    EXPECT_EQ(menuLock.LockPassword(), "");
    ExpectMenusOpen(true);
    Mox();
    EXPECT_TRUE(radio.Transmitting());
}

TEST_F(Lock, ACancelledUnlockLeavesTheMenusAndMoxLocked)
{
    ASSERT_TRUE(LockWith("Secret"));
    menuLock.SetCaption(lock::kUnlockCaption);
    menuLock.Cancel();
    EXPECT_TRUE(s.MenusLocked);
    ExpectMenusOpen(false);
    Mox();
    EXPECT_FALSE(radio.Transmitting());
    // The password still unlocks.
    EXPECT_TRUE(UnlockWith("Secret"));
    ExpectMenusOpen(true);
}

TEST_F(Lock, UnlockingWhenNothingIsLockedLeavesEverythingOpen)
{
    EXPECT_TRUE(UnlockWith("whatever"));
    EXPECT_FALSE(s.MenusLocked);
    ExpectMenusOpen(true);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Lock, NothingOfTheLockReachesAFileAndANewRunStartsUnlocked)
{
    ASSERT_TRUE(LockWith("Zq8Secret"));
    ASSERT_TRUE(panel.Power().EndKIVO());
    for (const char* name : {"ft817.kivo", "bandinfo.kivo", "homemem.kivo"}) {
        std::ifstream in(dir / name, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        EXPECT_EQ(bytes.str().find("Zq8Secret"), std::string::npos) << name;
    }
    state::ModKIVO next;
    EXPECT_FALSE(next.MenusLocked);
    lock::MenuLock nextLock{next, display, dialogs};
    EXPECT_EQ(nextLock.LockPassword(), "");
}

} // namespace
