#pragma once
// One run of the random operator: the steps applied to the program, and the invariants checked
// after each step and each quiet period.

#include "tests/support/RandomMachine.h"

#include <cerrno>
#include <filesystem>

namespace kivo::testing::randomop {

class Run {
public:
    explicit Run(Tally& tally) : m_tally(tally), m_dir(FreshDir())
    {
        WriteStartFiles(m_dir);
        for (const char* p : {"ro/c.mem", "ro/list.csv"})
            m_fs.writeErrors[m_dir + "/" + p] = EROFS;
        m_fs.writeErrors[m_dir + "/full/d.mem"] = ENOSPC;
        m_fs.onWritten = [this](const std::string& path, std::string_view data) { CheckWritten(path, data); };
        Start();
    }
    ~Run()
    {
        m_m.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }

    // The step and the checks after it; the broken invariant, or empty.
    std::string Do(const Step& st);
    // A quiet period and the agreement of the radio and the panel.
    std::string Quiet();

private:
    void Start();
    void Restart();
    void Wait(double seconds) { m_m->loop.Advance(seconds); }
    bool Enabled(const std::string& name) const { return m_m->display.Has(name) && m_m->display.Get(name).enabled; }
    void Apply(const Step& st);
    void PanelKey(const Step& st);
    void Knob(const Step& st);
    void Keyboard(const Step& st);
    void Menu(const Step& st);
    void Network(const Step& st);
    void MemoryManager(const Step& st);
    void Scope(const Step& st);
    void File(const Step& st);
    void LineFault(const Step& st);
    void RadioDial(const Step& st);
    void TrackFrame(const sim::ReceivedFrame& f);
    std::string CheckStep(const Step& st, bool wasOnAir);
    std::string CheckAgreement();
    void CheckWritten(const std::string& path, std::string_view data);
    void Count(const Step& st);
    bool PortUsable() const
    {
        return m_m->port.IsOpen() && !m_m->port.Vanished() && !m_m->comm.WasLost() && !m_portGone;
    }

    // Fields of the radio the panel cannot know: a lost set command, the radio's own dial or
    // MODE key, a frame that landed on the other VFO while the operator had switched it.
    struct Unknown {
        bool freq = false;
        bool mode = false;
    };

    Tally& m_tally;
    std::string m_dir;
    sim::Ft817 m_radio;
    FaultyFileSystem m_fs;
    OperatorDialogs m_dialogs;
    std::unique_ptr<Machine> m_m;
    state::BandDataRec m_loadedBand; // the band store as the last start loaded it
    std::array<Unknown, 2> m_unknown{};
    bool m_swapped = false;  // the operator has the radio on the VFO the panel does not expect
    bool m_portGone = false; // the cable is out
    enum class Keyer { None, Mox, Space, Client } m_keyedBy = Keyer::None;
    std::string m_fileError;
    std::size_t m_timerBase = 0;
    bool m_diskFull = false;
    bool m_retuningAtQuiet = false; // something held the dial reading off as the quiet period began
    bool m_trace = std::getenv("KIVO_RANDOM_TRACE") != nullptr;
    std::map<std::string, bool> m_inState;
    std::unique_ptr<platform::Timer> m_watchdog;
    // No step may take longer than this on the virtual clock.
    static constexpr int kStepLimitSeconds = 600;
    // Nor more passes of the event pump than 600 s of the fastest timer could need.
    static constexpr long kPassLimit = 2000000;
    long m_passes = 0;
};

// Thrown by the watchdog out of a step that never ends (a wait inside the program that virtual
// time cannot finish); the run is over then.
struct Hang {};

} // namespace kivo::testing::randomop
