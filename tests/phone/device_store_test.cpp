#include "../diary/temp_dir.h"

#include "phone/device_store.h"
#include "phone/secrets.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Stores {
    TempDir dir;
    std::int64_t now = 1'800'000'000;
    DeviceStore Open(const std::string& diary = "diary.tlg")
    {
        return DeviceStore(dir.File(diary), dir.File("state"), [this] { return now; });
    }
};

} // namespace

TEST(DeviceStore, KeepsOnlyDigestsOutsideTheDiarysFolder)
{
    Stores stores;
    DeviceStore store = stores.Open();
    const std::string link = *store.NewPairingSecret();
    const std::string token = *store.NewToken("scale");
    const auto phone = store.Redeem(link, "Mozilla/5.0 (Linux; Android 14)");
    ASSERT_TRUE(phone.has_value());
    EXPECT_EQ(phone->name, "Android");

    EXPECT_EQ(store.FilePath().rfind(stores.dir.File("state/phone/"), 0), 0u);
    const std::string kept = ReadBytes(store.FilePath());
    for (const std::string& secret : {link, token, phone->secret}) {
        EXPECT_GE(secret.size(), 43u); // 256 bits
        EXPECT_EQ(kept.find(secret), std::string::npos);
    }
    EXPECT_NE(kept.find(Sha256Hex(token)), std::string::npos);
    EXPECT_EQ(Entries(stores.dir.Path()), (std::vector<std::string>{"state"}));
}

TEST(DeviceStore, TwoStoresOfOneDiaryAgreeAndOtherDiariesAreApart)
{
    Stores stores;
    DeviceStore server = stores.Open();
    DeviceStore command = stores.Open();
    const std::string token = *command.NewToken("");
    const std::string second = *command.NewToken("");
    EXPECT_EQ(server.Authenticate(token, Device::Kind::Token)->name, "token");
    EXPECT_EQ(server.Authenticate(second, Device::Kind::Token)->name, "token 2");
    // A token is no phone's cookie, and another diary's devices are its own.
    EXPECT_FALSE(server.Authenticate(token, Device::Kind::Phone).has_value());
    EXPECT_FALSE(stores.Open("other.tlg").Authenticate(token, Device::Kind::Token).has_value());
    EXPECT_FALSE(command.NewToken("token").has_value());

    const std::string link = *command.NewPairingSecret();
    EXPECT_TRUE(server.Redeem(link, "Mozilla/5.0 (iPhone)").has_value());
    EXPECT_EQ(command.Redeem(link, "Mozilla/5.0 (iPhone)").error(), DeviceStore::Refusal::UnknownLink);
    ASSERT_TRUE(command.Revoke("token").has_value());
    EXPECT_FALSE(server.Authenticate(token, Device::Kind::Token).has_value());
    EXPECT_FALSE(command.Revoke("token").has_value());
    const auto listed = server.List();
    ASSERT_TRUE(listed.has_value());
    std::set<std::string> names;
    for (const Device& device : *listed)
        names.insert(device.name + "/" + KindName(device.kind));
    EXPECT_EQ(names, (std::set<std::string>{"token 2/token", "iPhone/phone"}));
}

TEST(DeviceStore, LinksExpireAndADamagedFileLetsNobodyIn)
{
    Stores stores;
    DeviceStore store = stores.Open();
    const std::string link = *store.NewPairingSecret();
    const std::string token = *store.NewToken("");
    stores.now += DeviceStore::kLinkLifetime;
    EXPECT_EQ(store.Redeem(link, "").error(), DeviceStore::Refusal::ExpiredLink);
    EXPECT_EQ(store.Redeem("", "").error(), DeviceStore::Refusal::UnknownLink);
    EXPECT_FALSE(store.Authenticate("", Device::Kind::Token).has_value());

    WriteBytes(store.FilePath(), "{\"devices\": [");
    EXPECT_FALSE(store.Authenticate(token, Device::Kind::Token).has_value());
    EXPECT_FALSE(store.NewToken("x").has_value());
    EXPECT_EQ(ReadBytes(store.FilePath()), "{\"devices\": [") << "a damaged file is left for mending";
}

TEST(DeviceStore, PhonesAreNamedByTheirBrowsers)
{
    EXPECT_EQ(DeviceNameOfAgent("Mozilla/5.0 (iPad; CPU OS 17_0 like Mac OS X)"), "iPad");
    EXPECT_EQ(DeviceNameOfAgent("Mozilla/5.0 (Linux; Android 14; Pixel 8)"), "Android");
    EXPECT_EQ(DeviceNameOfAgent(""), "phone");
    Stores stores;
    DeviceStore store = stores.Open();
    for (const char* expected : {"iPhone", "iPhone 2", "iPhone 3"})
        EXPECT_EQ(store.Redeem(*store.NewPairingSecret(), "(iPhone)")->name, expected);
}
