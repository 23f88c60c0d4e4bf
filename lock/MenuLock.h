#pragma once
// File > Lock Menus... and Unlock Menus...: a password chosen on the spot locks the File
// entries that change or leave the memory file, the Settings and Memory menus, and the MOX key;
// the same password unlocks them. The dialog's logic lives here, the window only shows it. The
// lock lasts until undone or the program ends: nothing of it is written anywhere.

#include "platform/Dialogs.h"
#include "platform/DisplayModel.h"
#include "state/ModKIVO.h"

#include <string>

namespace kivo::lock {

inline constexpr const char* kLockCaption = "Lock Menus";
inline constexpr const char* kUnlockCaption = "Unlock Menus";
// The longest password the dialog's box takes, in characters.
inline constexpr int kPasswordLength = 10;
// `mnuFileArray` entries the lock disables: New, Open..., Save, Save As..., Lock Menus..., Exit.
inline constexpr int kLockedFileEntries[] = {0, 1, 3, 4, 6, 9};

class MenuLock {
public:
    MenuLock(state::ModKIVO& s, platform::DisplayModel& display, platform::Dialogs& dialogs);

    // The caption the dialog is shown with, set by the menu entry that opens it; OK locks under
    // "Lock Menus" and unlocks under anything else.
    void SetCaption(std::string caption) { m_caption = std::move(caption); }
    const std::string& Caption() const { return m_caption; }

    // OK with the text of the password box. True: done, the dialog clears its box and hides.
    // False: refused with a message; the dialog stays with its text selected for retyping.
    bool Confirm(const std::string& password);
    // Cancel: nothing changes; a lock stays whole, MOX included.
    void Cancel();

    // The password given when locking, blank-padded to 10 characters; empty when unlocked.
    const std::string& LockPassword() const { return m_lockPassword; }

private:
    bool Lock(const std::string& password);
    bool Unlock(const std::string& password);
    void EnableMenus(bool on);

    state::ModKIVO& m_s;
    platform::DisplayModel& m_display;
    platform::Dialogs& m_dialogs;
    std::string m_caption = kLockCaption;
    std::string m_lockPassword;
};

} // namespace kivo::lock
