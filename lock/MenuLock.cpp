#include "lock/MenuLock.h"

#include "platform/Elements.h"

namespace kivo::lock {

using platform::Buttons;
using platform::Icon;

namespace {

// Characters of a UTF-8 text: every byte that does not continue a character.
int Characters(const std::string& text)
{
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

std::string TrimRight(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

MenuLock::MenuLock(state::ModKIVO& s, platform::DisplayModel& display, platform::Dialogs& dialogs)
    : m_s(s), m_display(display), m_dialogs(dialogs)
{
}

bool MenuLock::Confirm(const std::string& password)
{
    return m_caption == kLockCaption ? Lock(password) : Unlock(password);
}

// Closes without locking or unlocking. Clearing the lock flag here, as the lock once did, let
// anyone transmit by opening Unlock and cancelling, while the menus stayed locked.
void MenuLock::Cancel() {}

bool MenuLock::Lock(const std::string& password)
{
    const int length = Characters(password);
    if (length < 4 || length > kPasswordLength || password.find(' ') != std::string::npos) {
        m_dialogs.MessageBox("Password must be longer than 3 characters and may not contain empty space!", kLockCaption,
                             Icon::None, Buttons::Ok);
        return false;
    }
    m_lockPassword = password + std::string(std::size_t(kPasswordLength - length), ' ');
    EnableMenus(false);
    m_s.MenusLocked = true;
    return true;
}

bool MenuLock::Unlock(const std::string& password)
{
    // Nothing locked: there is nothing to unlock, and the menus are (and stay) open.
    if (!m_lockPassword.empty() && TrimRight(m_lockPassword) != password) {
        m_dialogs.MessageBox("Invalid Password, try again!", "Login", Icon::None, Buttons::Ok);
        return false;
    }
    m_lockPassword.clear();
    EnableMenus(true);
    m_s.MenusLocked = false;
    return true;
}

void MenuLock::EnableMenus(bool on)
{
    for (int i : kLockedFileEntries)
        m_display.SetEnabled(el::mnuFileArray(i), on);
    m_display.SetEnabled(el::mnuSettings, on);
    m_display.SetEnabled(el::mnuMemory, on);
}

} // namespace kivo::lock
