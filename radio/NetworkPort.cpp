#include "radio/NetworkPort.h"

namespace kivo::radio {

namespace {

constexpr const char* kTitle = "Network Port";

} // namespace

NetworkPortMenu::NetworkPortMenu(state::ModKIVO& kivo, CommPort& comm, platform::TcpSerialPort& port,
                                 platform::Dialogs& dialogs, platform::FileSystem& fs, const std::string& dataDir)
    : m_kivo(kivo), m_comm(comm), m_port(port), m_dialogs(dialogs), m_fs(fs),
      m_path(dataDir + "/" + kNetworkPortFileName)
{
    // A failed save only loses the choice, which the menu shows and can make again.
    m_comm.onNetworkChosen = [this](bool) {
        if (m_port.Address())
            m_fs.WriteAtomic(m_path, FileText(*m_port.Address()));
    };
}

std::string NetworkPortMenu::FileText(const platform::NetworkAddress& address) const
{
    return platform::NetworkAddressText(address) + (m_comm.NetworkChosen() ? std::string(kChosenLine) + "\n" : "");
}

void NetworkPortMenu::Load()
{
    m_port.SetAddress(std::nullopt);
    m_damaged = false;
    if (m_fs.Exists(m_path)) {
        std::string text;
        const auto r = m_fs.ReadOrCreate(m_path, 4096, text);
        // The choice of the network port as POWER's port, a line of its own after the address.
        const std::string chosen = std::string(kChosenLine) + "\n";
        const bool isChosen =
            text.size() >= chosen.size() && text.compare(text.size() - chosen.size(), chosen.size(), chosen) == 0;
        if (isChosen)
            text.resize(text.size() - chosen.size());
        auto address = r ? platform::ParseNetworkAddress(text) : std::nullopt;
        m_damaged = !address;
        m_port.SetAddress(address);
        m_comm.SetNetworkChosen(address && isChosen);
    }
    m_comm.SetNetworkCaption(m_port.Address() ? m_port.Address()->Text() : "");
}

void NetworkPortMenu::Apply(const platform::NetworkAddress& address)
{
    m_port.SetAddress(address);
    m_comm.SetNetworkCaption(address.Text());
    if (const auto r = m_fs.WriteAtomic(m_path, FileText(address)); !r) {
        m_dialogs.MessageBox("The network port could not be remembered in " + m_path + " (" + r.description +
                                 "). It is used until the program ends.",
                             kTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
    } else {
        m_damaged = false;
    }
}

void NetworkPortMenu::mnuNetworkPort_Click()
{
    if (m_kivo.CATOn) {
        m_comm.mnuCommPortArray_Click(kPortNetwork); // its refusal: no change of port while on
        return;
    }
    const auto& now = m_port.Address();
    std::vector<platform::FormField> fields = {
        {"Host:", now ? now->host : "", {}},
        {"Port:", now ? std::to_string(now->port) : "", {}},
        {"Kind:",
         now && now->kind == platform::NetworkKind::Raw ? kRawCaption : kRfc2217Caption,
         {kRfc2217Caption, kRawCaption}},
    };
    std::string intro = "The radio's serial port on another computer, served by ser2net there: its name or address, "
                        "the TCP port of the radio's cable, and how it is served (RFC 2217 lets this program set the "
                        "CAT Rate; raw TCP uses the rate in ser2net's configuration).";
    if (m_damaged)
        intro += " The remembered network port in " + m_path + " could not be read; please type it again.";
    for (;;) {
        if (!m_dialogs.AskForm(kTitle, intro, fields))
            return;
        platform::NetworkAddress a;
        std::string problem = platform::CheckHost(fields[0].value);
        if (problem.empty())
            problem = platform::CheckPort(fields[1].value, a.port);
        if (problem.empty() && fields[2].value != kRawCaption && fields[2].value != kRfc2217Caption)
            problem =
                "Please choose how the port is served: " + std::string(kRfc2217Caption) + " or " + kRawCaption + ".";
        if (!problem.empty()) {
            m_dialogs.MessageBox(problem, kTitle, platform::Icon::Exclamation, platform::Buttons::Ok);
            continue;
        }
        a.host = fields[0].value;
        while (!a.host.empty() && a.host.front() == ' ')
            a.host.erase(0, 1);
        while (!a.host.empty() && a.host.back() == ' ')
            a.host.pop_back();
        a.kind = fields[2].value == kRawCaption ? platform::NetworkKind::Raw : platform::NetworkKind::Rfc2217;
        Apply(a);
        // Chosen as a numbered port is: opened now, its failure said in the port's words.
        m_comm.mnuCommPortArray_Click(kPortNetwork);
        return;
    }
}

} // namespace kivo::radio
