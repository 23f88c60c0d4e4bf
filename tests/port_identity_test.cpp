// Port numbers stay with their devices: two simulated radios on pseudo-terminals, unplugged,
// replugged and across a restart.

#include "platform/PortMap.h"
#include "platform/PosixSerialPort.h"
#include "platform/SystemEventLoop.h"
#include "sim/Ft817.h"
#include "sim/PtyLink.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace kivo;

namespace {

TEST(PortMap, NumbersStayWithTheirDevicesAndSurviveTheirText)
{
    platform::PortMap map;
    EXPECT_TRUE(map.Bind({"/dev/serial/by-id/a", "/dev/serial/by-id/b"}));
    EXPECT_FALSE(map.Bind({"/dev/serial/by-id/b"})) << "a device gone keeps its number";
    EXPECT_EQ(map.DeviceOf(1), "/dev/serial/by-id/a");
    EXPECT_TRUE(map.Bind({"/dev/ttyUSB3", "/dev/serial/by-id/a"}));
    EXPECT_EQ(map.NumberOf("/dev/ttyUSB3"), 3);

    platform::PortMap again;
    again.Parse(map.Text() + "garbage\n0\t/dev/x\n12\t/dev/y\n5\t\n4\t/dev/serial/by-id/a\n");
    EXPECT_EQ(again.Text(), map.Text()) << "bad lines and a second number for a device are ignored";
    for (int n = 4; n <= 9; ++n)
        EXPECT_TRUE(again.Bind({"/dev/new" + std::to_string(n)}));
    EXPECT_FALSE(again.Bind({"/dev/tenth"})) << "nine numbers, no more";
    EXPECT_EQ(again.DeviceOf(10), "");
}

struct Radio {
    sim::Ft817 model;
    std::unique_ptr<sim::PtyLink> link;
    std::string path; // the stable name, as /dev/serial/by-id gives one
};

class TwoRadios : public ::testing::Test {
protected:
    platform::SystemEventLoop loop;
    kivo::testing::TempDir dir;
    Radio a, b;
    std::vector<std::string> present;

    void SetUp() override
    {
        a.model.A().freq = 14420000;
        b.model.A().freq = 43300000;
        for (auto [r, name] : {std::pair{&a, "usb-radio-A"}, std::pair{&b, "usb-radio-B"}}) {
            r->link = std::make_unique<sim::PtyLink>(loop, r->model, sim::WireOptions::Ideal());
            std::string err;
            ASSERT_TRUE(r->link->Start(err)) << err;
            r->path = dir / name;
            ASSERT_TRUE(r->link->MakeLink(r->path, err)) << err;
        }
        present = {a.path, b.path};
    }
    void Unplug(Radio& r)
    {
        ::unlink(r.path.c_str());
        present.erase(std::find(present.begin(), present.end(), r.path));
    }
    void Replug(Radio& r)
    {
        std::string err;
        ASSERT_TRUE(r.link->MakeLink(r.path, err)) << err;
        present.insert(present.begin(), r.path); // listed first now
    }
    std::unique_ptr<platform::PosixSerialPort> Port(const std::string& saved = {})
    {
        auto p = std::make_unique<platform::PosixSerialPort>();
        p->Bindings().Parse(saved);
        p->SetDeviceLister([this] { return present; });
        p->RefreshDevices();
        return p;
    }
    // Opens the number and reads the radio's frequency: which radio answers.
    long FreqOn(platform::PosixSerialPort& port, int number, std::string& err)
    {
        port.SetPortNumber(number);
        if (!port.Open(err))
            return -1;
        port.Write(std::string("\x00\x00\x00\x00\x03", 5));
        std::string reply;
        for (int i = 0; i < 100 && reply.size() < 5; ++i) {
            platform::Pause(loop, 0.01);
            reply += port.Read();
        }
        port.Close();
        if (reply.size() < 5)
            return -2;
        long f = 0;
        for (int i = 0; i < 4; ++i)
            f = f * 100 + (std::uint8_t(reply[i]) >> 4) * 10 + (reply[i] & 0x0F);
        return f;
    }
};

TEST_F(TwoRadios, AnUnpluggedRadiosNumberNeverReachesTheOther)
{
    auto port = Port();
    std::string err;
    EXPECT_EQ(FreqOn(*port, 1, err), 14420000);
    EXPECT_EQ(FreqOn(*port, 2, err), 43300000);
    const std::string saved = port->Bindings().Text();

    Unplug(a);
    port->RefreshDevices();
    EXPECT_EQ(FreqOn(*port, 1, err), -1) << "port 1 is radio A's, and A is gone";
    EXPECT_NE(err.find("no such device"), std::string::npos) << err;
    EXPECT_EQ(port->Caption(1), a.path + " (not connected)");
    EXPECT_EQ(port->Caption(2), b.path);

    // A restart with A still away: the numbers are as they were.
    auto restarted = Port(saved);
    EXPECT_EQ(FreqOn(*restarted, 1, err), -1);
    EXPECT_EQ(FreqOn(*restarted, 2, err), 43300000);

    Replug(a);
    restarted->RefreshDevices();
    EXPECT_EQ(FreqOn(*restarted, 1, err), 14420000) << err;
    EXPECT_EQ(FreqOn(*restarted, 2, err), 43300000) << err;
    EXPECT_EQ(restarted->Caption(1), a.path);
}

TEST_F(TwoRadios, TheSimulatorIsADeviceOfItsOwn)
{
    auto port = Port();
    port->SetSimulator(b.link->Path());
    EXPECT_TRUE(port->RefreshDevices());
    EXPECT_EQ(port->DeviceOf(3), platform::kSimulatorDevice);
    std::string err;
    EXPECT_EQ(FreqOn(*port, 3, err), 43300000);
    auto without = Port(port->Bindings().Text());
    EXPECT_EQ(FreqOn(*without, 3, err), -1);
    EXPECT_EQ(err, "built-in simulator: not running (start the program with --simulate)");
    EXPECT_EQ(without->Caption(3), "built-in simulator (not connected)");
}

} // namespace
