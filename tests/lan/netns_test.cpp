// The session layer between two network namespaces joined by a veth pair made here: found by
// IPv4 broadcast and by IPv6 link-local multicast, a whole game's messages across.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "lan_support.h"

namespace gd::test {
namespace {

bool Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Two namespaces A and B with a veth pair between them, removed again at the end.
class TwoNamespaces : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureQtApp();
        const std::string id = std::to_string(::getpid());
        a_ = "gdlanA" + id;
        b_ = "gdlanB" + id;
        if (!Shell("ip netns add " + a_) || !Shell("ip netns add " + b_) ||
            !Shell("ip link add v" + a_ + " netns " + a_ + " type veth peer name v" + b_ +
                   " netns " + b_))
            GTEST_SKIP() << "cannot create network namespaces here (needs root and ip netns)";
    }
    void TearDown() override {
        Shell("ip netns del " + a_);
        Shell("ip netns del " + b_);
    }
    // Brings both ends up, IPv4 only or IPv6 (link-local) only.
    void Configure(bool ipv4) {
        int n = 1;
        for (const auto& ns : {a_, b_}) {
            const std::string in = "ip netns exec " + ns + " ";
            const std::string dev = "v" + ns;
            Shell(in + "ip link set lo up");
            Shell(in + "sysctl -qw net.ipv6.conf." + dev + ".accept_dad=0");
            if (ipv4) {
                Shell(in + "sysctl -qw net.ipv6.conf.all.disable_ipv6=1");
                Shell(in + "ip addr add 10.47.82." + std::to_string(n++) + "/24 brd + dev " + dev);
            }
            Shell(in + "ip link set " + dev + " up");
        }
    }
    // Hosts in A and joins from B on the fixed ports; both play the script to its end.
    void PlayAcross() {
        Peer host({"ip", "netns", "exec", QString::fromStdString(a_)},
                  {"host", "--name", "Host", "--method", "net"});
        ASSERT_EQ(host.Line(), "HOSTING");
        Peer guest({"ip", "netns", "exec", QString::fromStdString(b_)},
                   {"join", "--name", "Guest", "--method", "net"});
        EXPECT_EQ(guest.Line(), "JOINED Host");
        EXPECT_EQ(host.Line(), "JOINED Guest");
        EXPECT_EQ(guest.Line(), "DONE");
        EXPECT_EQ(host.Line(), "DONE");
        EXPECT_EQ(guest.Finish(), 0);
        EXPECT_EQ(host.Finish(), 0);
    }
    std::string a_, b_;
};

// Guards against discovery that needs a default route, 255.255.255.255 or set-up by hand.
TEST_F(TwoNamespaces, IPv4OnlyHostIsFoundByBroadcastAndAGameIsPlayed) {
    Configure(true);
    PlayAcross();
}

// Guards against discovery that needs IPv4 at all.
TEST_F(TwoNamespaces, IPv6OnlyHostIsFoundByLinkLocalMulticastAndAGameIsPlayed) {
    Configure(false);
    PlayAcross();
}

// Guards against the network method pretending to work where no interface can carry it.
TEST_F(TwoNamespaces, NetworkMethodWithoutInterfacesIsNotSupported) {
    Peer lister({"ip", "netns", "exec", QString::fromStdString(a_)}, {"list", "--method", "net"});
    EXPECT_EQ(lister.Line(), "(Not supported)");
}

}  // namespace
}  // namespace gd::test
