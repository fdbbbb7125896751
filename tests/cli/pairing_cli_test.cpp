// tarelog-cli pair and devices, run as a person runs them, with the state
// folder in a temporary folder.
#include "cli_runner.h"

#include "phone/device_store.h"

#include <gtest/gtest.h>

namespace {

struct PairingCli {
    TempDir dir;
    std::string diary = dir.File("diary.tlg");
    std::string state = dir.File("state");
    CliRun Run(std::vector<std::string> args) { return RunCli(dir, args, {{"XDG_STATE_HOME", state}}); }
    DeviceStore Store() { return DeviceStore(diary, state + "/tarelog"); }
};

} // namespace

TEST(PairingCli, PairPrintsAOneTimeLinkWithItsCodeAndTokensAloneOnALine)
{
    PairingCli cli;
    const CliRun link = cli.Run({"pair", "--url", "https://192.0.2.1:8765/", cli.diary});
    ASSERT_EQ(link.status, 0) << link.err;
    const std::string prefix = "pair: https://192.0.2.1:8765/pair/";
    ASSERT_EQ(link.out.rfind(prefix, 0), 0u) << link.out;
    const std::string secret = link.out.substr(prefix.size(), link.out.find('\n') - prefix.size());
    EXPECT_NE(link.out.find("\u2588"), std::string::npos) << "the QR code's blocks follow the link";
    EXPECT_TRUE(cli.Store().Redeem(secret, "").has_value());

    const CliRun token = cli.Run({"pair", "--token", "--name", "scale", cli.diary});
    ASSERT_EQ(token.status, 0) << token.err;
    ASSERT_EQ(token.out.find('\n'), token.out.size() - 1);
    EXPECT_EQ(cli.Store().Authenticate(token.out.substr(0, token.out.size() - 1), Device::Kind::Token)->name, "scale");
    EXPECT_EQ(cli.Run({"pair", "--token", "--name", "scale", cli.diary}).status, 1);
    EXPECT_EQ(cli.Run({"pair", "--name", "x", cli.diary}).status, 2);
    EXPECT_EQ(cli.Run({"pair"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(cli.diary)) << "pairing writes nothing beside the diary";
}

TEST(PairingCli, DevicesListsAndRevokes)
{
    PairingCli cli;
    ASSERT_EQ(cli.Run({"pair", "--token", cli.diary}).status, 0);
    ASSERT_TRUE(cli.Store().Redeem(*cli.Store().NewPairingSecret(), "(iPhone)").has_value());
    const CliRun listed = cli.Run({"devices", cli.diary});
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find("token\ttoken\tpaired "), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("iPhone\tphone\tpaired "), std::string::npos) << listed.out;

    const CliRun revoked = cli.Run({"devices", "--revoke", "iPhone", cli.diary});
    EXPECT_EQ(revoked.status, 0);
    EXPECT_EQ(cli.Run({"devices", cli.diary}).out.find("iPhone"), std::string::npos);
    const CliRun unknown = cli.Run({"devices", "--revoke", "iPad", cli.diary});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(std::count(unknown.err.begin(), unknown.err.end(), '\n'), 1);
    EXPECT_NE(unknown.err.find("'iPad'"), std::string::npos);
}
