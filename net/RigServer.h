#pragma once
// The network rig-control server: clients on TCP, each line answered through a session over
// the panel's model, all on the program's one event loop.

#include "net/RigModel.h"
#include "net/Session.h"
#include "platform/EventLoop.h"
#include "platform/Tcp.h"

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <string>

namespace kivo::net {

inline constexpr int kDefaultPort = 4532;
inline constexpr const char* kDefaultHost = "127.0.0.1";

class RigServer {
public:
    struct Limits {
        std::size_t clients = 8;         // more are closed at once
        std::size_t lineBytes = 1024;    // a longer line gets an error answer and is dropped
        std::size_t inputBytes = 4096;   // unserved input held per client; above it, it is not read
        std::size_t outputBytes = 65536; // answers a client does not read; above it, it is closed
    };

    RigServer(platform::EventLoop& loop, RigModel& rig, Limits limits);
    RigServer(platform::EventLoop& loop, RigModel& rig) : RigServer(loop, rig, Limits{}) {}
    ~RigServer();
    RigServer(const RigServer&) = delete;
    RigServer& operator=(const RigServer&) = delete;

    // Starts listening; false with the system's reason (a port in use, say).
    bool Start(const std::string& host, int port, std::string& error);
    // Closes every client (unkeying the radio for one that keyed it) and stops listening.
    void Stop();
    bool Running() const { return m_listener.Listening(); }
    int Port() const { return m_listener.Port(); }
    const std::string& Host() const { return m_host; }
    std::size_t Clients() const;
    // The address of the client whose `T 1` keyed the transmitter, while nobody has unkeyed it
    // since; it stays named after a client that closed with `q` and left it keyed.
    const std::string& Keyer() const { return m_keyerName; }
    // The panel keyed or released the transmitter itself: no client holds it now.
    void ForgetKeyer();
    // Told when a client connects or goes, and when the client holding the transmitter changes.
    std::function<void()> onClientsChanged;

private:
    struct Client;
    void Accept();
    void OnReadable(Client& c);
    // Answers the waiting lines of every client in turn; never runs inside itself, so no
    // client's command runs inside another's wait.
    void Serve();
    bool ServeOneLine(Client& c);
    void Flush(Client& c);
    // `quit`: the client said goodbye with `q` and leaves the radio as it set it; a client whose
    // connection just drops unkeys the transmitter it keyed.
    void Drop(Client& c, bool quit = false);
    void Keyed(Client& c, bool on);
    void ReleaseIfKeyer(const Client& c);
    void Changed();
    void Sweep();

    platform::EventLoop& m_loop;
    RigModel& m_rig;
    Limits m_limits;
    platform::TcpListener m_listener;
    std::string m_host;
    std::list<std::unique_ptr<Client>> m_clients;
    const Client* m_keyer = nullptr;
    std::string m_keyerName;
    bool m_serving = false;
    bool m_sweepDue = false;
};

} // namespace kivo::net
