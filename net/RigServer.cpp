#include "net/RigServer.h"

namespace kivo::net {

struct RigServer::Client {
    Client(std::unique_ptr<platform::TcpConnection> c, RigModel& panel)
        : conn(std::move(c)), peer(conn->Peer()), session(panel)
    {
    }
    std::unique_ptr<platform::TcpConnection> conn;
    std::string peer;
    Session session;
    std::string in;
    std::string out;
    bool discarding = false; // inside a line that was too long
    bool paused = false;     // not read until its input is served
    bool gone = false;
};

RigServer::RigServer(platform::EventLoop& loop, RigModel& rig, Limits limits)
    : m_loop(loop), m_rig(rig), m_limits(limits)
{
}

RigServer::~RigServer() { Stop(); }

bool RigServer::Start(const std::string& host, int port, std::string& error)
{
    Stop();
    if (!m_listener.Listen(host, port, error))
        return false;
    m_host = host;
    m_loop.WatchFd(m_listener.Fd(), [this] { Accept(); });
    return true;
}

void RigServer::Stop()
{
    for (auto& c : m_clients)
        Drop(*c);
    Sweep();
    if (m_listener.Listening())
        m_loop.UnwatchFd(m_listener.Fd());
    m_listener.Close();
}

std::size_t RigServer::Clients() const
{
    std::size_t n = 0;
    for (const auto& c : m_clients)
        n += c->gone ? 0 : 1;
    return n;
}

void RigServer::Accept()
{
    while (auto conn = m_listener.Accept()) {
        if (Clients() >= m_limits.clients)
            continue; // closed as it goes out of scope
        m_clients.push_back(std::make_unique<Client>(std::move(conn), m_rig));
        Client& c = *m_clients.back();
        m_loop.WatchFd(c.conn->Fd(), [this, &c] { OnReadable(c); });
        Changed();
    }
}

void RigServer::OnReadable(Client& c)
{
    if (c.gone)
        return;
    const std::size_t room = m_limits.inputBytes > c.in.size() ? m_limits.inputBytes - c.in.size() : 0;
    if (!c.conn->Read(c.in, room)) {
        Drop(c);
    } else if (c.in.size() >= m_limits.inputBytes && !c.paused) {
        // A flood waits in the socket, not in memory, until its lines have been answered.
        c.paused = true;
        m_loop.UnwatchFd(c.conn->Fd());
    }
    // Inside another client's command its lines wait: that command's Serve comes to them.
    if (!m_serving)
        Serve();
}

bool RigServer::ServeOneLine(Client& c)
{
    for (;;) {
        const auto nl = c.in.find('\n');
        if (nl == std::string::npos) {
            if (c.in.size() > m_limits.lineBytes && !c.discarding) {
                // Too long to be a command: answered once, the rest of it dropped as it comes.
                c.discarding = true;
                c.out += "RPRT " + std::to_string(rprt::kProtocol) + "\n";
                Flush(c);
            }
            if (c.discarding)
                c.in.clear();
            return false;
        }
        std::string line = c.in.substr(0, nl);
        c.in.erase(0, nl + 1);
        if (c.discarding) {
            c.discarding = false;
            continue;
        }
        const Answer a = c.session.Handle(line); // may wait while the panel talks to the radio
        if (a.keyed)
            Keyed(c, *a.keyed);
        if (c.gone) {
            ReleaseIfKeyer(c); // it went while its T 1 waited for the radio
            return false;
        }
        c.out += a.text;
        Flush(c);
        if (a.close) {
            Drop(c, true);
            return false;
        }
        return true;
    }
}

void RigServer::Serve()
{
    m_serving = true;
    // One line of each client in turn, so one busy client cannot starve the others.
    for (bool more = true; more;) {
        more = false;
        for (auto& c : m_clients)
            if (!c->gone && ServeOneLine(*c))
                more = true;
    }
    for (auto& c : m_clients) {
        if (!c->gone && c->paused && c->in.size() < m_limits.inputBytes) {
            c->paused = false;
            Client* client = c.get();
            m_loop.WatchFd(client->conn->Fd(), [this, client] { OnReadable(*client); });
        }
    }
    m_serving = false;
    Sweep();
}

void RigServer::Flush(Client& c)
{
    if (c.out.empty() || c.gone)
        return;
    const long n = c.conn->Write(c.out);
    if (n < 0) {
        Drop(c);
        return;
    }
    c.out.erase(0, std::size_t(n));
    if (c.out.size() > m_limits.outputBytes)
        Drop(c); // it does not read its answers
}

void RigServer::Drop(Client& c, bool quit)
{
    if (c.gone)
        return;
    c.gone = true;
    m_loop.UnwatchFd(c.conn->Fd());
    if (quit) {
        if (m_keyer == &c)
            m_keyer = nullptr; // its transmitter stays keyed, named after it
    } else {
        ReleaseIfKeyer(c);
    }
    m_sweepDue = true;
    Changed();
}

void RigServer::ReleaseIfKeyer(const Client& c)
{
    // A transmitter keyed by a client that vanished (a crash, a cable) must not stay keyed.
    if (m_keyer != &c)
        return;
    m_keyer = nullptr;
    m_keyerName.clear();
    m_rig.SetPtt(false);
}

void RigServer::Keyed(Client& c, bool on)
{
    m_keyer = on ? &c : nullptr;
    m_keyerName = on ? c.peer : std::string();
    Changed();
}

void RigServer::ForgetKeyer()
{
    if (!m_keyer && m_keyerName.empty())
        return;
    m_keyer = nullptr;
    m_keyerName.clear();
    Changed();
}

void RigServer::Changed()
{
    if (onClientsChanged)
        onClientsChanged();
}

void RigServer::Sweep()
{
    if (m_serving || !m_sweepDue)
        return;
    m_sweepDue = false;
    m_clients.remove_if([](const auto& c) { return c->gone; });
}

} // namespace kivo::net
