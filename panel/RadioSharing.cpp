#include "panel/RadioSharing.h"

#include <charconv>

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;

std::optional<ShareChoice> ParseShareAddress(std::string_view text)
{
    ShareChoice c;
    c.on = true;
    std::string_view host = text, port;
    if (!text.empty() && text.front() == '[') { // [::1]:4532
        const auto close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        host = text.substr(1, close - 1);
        const auto rest = text.substr(close + 1);
        if (!rest.empty() && rest.front() != ':')
            return std::nullopt;
        port = rest.empty() ? rest : rest.substr(1);
    } else if (const auto colon = text.rfind(':'); colon != std::string_view::npos && text.find(':') == colon) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (!host.empty())
        c.host = std::string(host);
    if (!port.empty()) {
        int p = 0;
        const auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), p);
        if (ec != std::errc() || end != port.data() + port.size() || p < 1 || p > 65535)
            return std::nullopt;
        c.port = p;
    }
    return c;
}

ShareChoice ParseShareFile(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    const auto space = text.find(' ');
    const std::string_view word = text.substr(0, space);
    auto c = ParseShareAddress(space == std::string_view::npos ? std::string_view() : text.substr(space + 1));
    ShareChoice out = c ? *c : ShareChoice{};
    out.on = c && word == "on";
    return out;
}

std::string ShareFileText(const ShareChoice& c)
{
    const bool v6 = c.host.find(':') != std::string::npos;
    return std::string(c.on ? "on " : "off ") + (v6 ? "[" + c.host + "]" : c.host) + ":" + std::to_string(c.port) +
           "\n";
}

RadioSharing::RadioSharing(const PanelContext& ctx, FrontPanel& panel, platform::FileSystem& fs, std::string dataDir)
    : m_display(ctx.display), m_dialogs(ctx.dialogs), m_fs(fs), m_file(std::move(dataDir) + "/" + kShareFileName),
      m_s(ctx.s), m_rig(ctx, panel), m_server(ctx.loop, m_rig)
{
    m_server.onClientsChanged = [this] { ShowStatus(); };
    // MOX from the panel takes the transmitter over from whichever client keyed it.
    panel.Transmit().hooks.onAirChanged = [this] { m_server.ForgetKeyer(); };
    ShowStatus();
}

void RadioSharing::Load(const std::optional<ShareChoice>& forced)
{
    std::string text;
    if (m_fs.Exists(m_file) && m_fs.ReadOrCreate(m_file, 4096, text))
        m_choice = ParseShareFile(text);
    if (forced) {
        m_choice = *forced;
        Save();
    }
    Apply();
}

void RadioSharing::ShareRadio()
{
    m_choice.on = !m_server.Running();
    Save();
    Apply();
}

void RadioSharing::Apply()
{
    if (!m_choice.on) {
        m_server.Stop();
    } else if (!m_server.Running()) {
        std::string error;
        if (!m_server.Start(m_choice.host, m_choice.port, error)) {
            m_dialogs.MessageBox("The radio cannot be shared on " + m_choice.host + ":" +
                                     std::to_string(m_choice.port) + ": " + error +
                                     ". Another program may already serve that port; the panel works on as before.",
                                 "Share Radio on Network", Icon::Exclamation, Buttons::Ok);
        }
    }
    ShowStatus();
}

void RadioSharing::Save()
{
    // Not worth a message: the next start would only not share, or share, as the last choice.
    m_fs.WriteAtomic(m_file, ShareFileText(m_choice));
}

void RadioSharing::ShowStatus()
{
    const bool on = m_server.Running();
    m_display.SetChecked(el::mnuSettingsArray(kShareRadioEntry), on);
    m_display.SetVisible(el::lblShareStatus, on);
    if (!on)
        return;
    const auto n = m_server.Clients();
    m_display.SetCaption(
        el::lblShareStatus,
        "Sharing the radio on " + m_server.Host() + ":" + std::to_string(m_server.Port()) + ", " + std::to_string(n) +
            (n == 1 ? " program" : " programs") + " connected" +
            (m_s.Transmitting && !m_server.Keyer().empty() ? ", on air for " + m_server.Keyer() : std::string()));
}

} // namespace kivo::panel
