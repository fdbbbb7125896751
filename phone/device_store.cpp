#include "phone/device_store.h"

#include "phone/secrets.h"
#include "platform/file_lock.h"
#include "platform/file_reader.h"
#include "platform/safe_file.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

using Json = nlohmann::json;

struct DeviceStore::Contents {
    struct Link {
        std::string digest;
        std::int64_t expiresAt = 0;
    };
    std::vector<Device> devices;
    std::vector<Link> links;
};

namespace {

bool IsFree(const std::vector<Device>& devices, const std::string& name)
{
    for (const Device& device : devices)
        if (device.name == name)
            return false;
    return true;
}

// `base`, or "base 2", "base 3", ... whichever no device has yet.
std::string NumberedName(const std::vector<Device>& devices, const std::string& base)
{
    std::string name = base;
    for (int n = 2; !IsFree(devices, name); ++n)
        name = base + " " + std::to_string(n);
    return name;
}

Json ToJson(const std::string& diaryPath, const std::vector<Device>& devices,
    const std::vector<std::pair<std::string, std::int64_t>>& links)
{
    Json out = {{"diary", diaryPath}, {"devices", Json::array()}, {"links", Json::array()}};
    for (const Device& device : devices)
        out["devices"].push_back({{"name", device.name}, {"kind", KindName(device.kind)}, {"paired", device.pairedAt},
            {"sha256", device.digest}});
    for (const auto& [digest, expiresAt] : links)
        out["links"].push_back({{"sha256", digest}, {"expires", expiresAt}});
    return out;
}

} // namespace

const char* KindName(Device::Kind kind)
{
    return kind == Device::Kind::Token ? "token" : "phone";
}

std::int64_t DeviceStore::SystemSeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

DeviceStore::DeviceStore(std::string diaryPath, std::string stateFolder, Clock clock)
    : m_diaryPath(std::filesystem::absolute(diaryPath).lexically_normal().string())
    , m_filePath(stateFolder + "/phone/" + Sha256Hex(m_diaryPath).substr(0, 32) + ".json")
    , m_clock(std::move(clock))
{
}

Result<DeviceStore::Contents, std::string> DeviceStore::Read() const
{
    Contents contents;
    const Result<std::string, FileFailure> bytes = ReadWholeFile(m_filePath);
    if (!bytes) {
        if (bytes.error().error == ENOENT)
            return contents;
        return Failed{"cannot read " + m_filePath + ": " + DescribeFileFailure(bytes.error())};
    }
    try {
        const Json json = Json::parse(*bytes);
        for (const Json& item : json.at("devices")) {
            Device device;
            device.name = item.at("name").get<std::string>();
            device.kind = item.at("kind").get<std::string>() == "token" ? Device::Kind::Token : Device::Kind::Phone;
            device.pairedAt = item.at("paired").get<std::int64_t>();
            device.digest = item.at("sha256").get<std::string>();
            contents.devices.push_back(std::move(device));
        }
        for (const Json& item : json.at("links"))
            contents.links.push_back({item.at("sha256").get<std::string>(), item.at("expires").get<std::int64_t>()});
    } catch (const Json::exception& error) {
        // Never written over: a damaged file may still be what a person
        // wants to mend by hand, and no one is let in meanwhile.
        return Failed{m_filePath + " is damaged (" + error.what() + "); nothing was changed"};
    }
    return contents;
}

Status<std::string> DeviceStore::Change(const std::function<Status<std::string>(Contents&)>& change)
{
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(m_filePath).parent_path();
    std::filesystem::create_directories(folder, ignored);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ignored);
    FileWriteLock lock;
    if (const Status<FileFailure> locked = lock.Acquire(m_filePath); !locked)
        return Failed{"cannot lock " + m_filePath + ": " + DescribeFileFailure(locked.error())};
    Result<Contents, std::string> contents = Read();
    if (!contents)
        return Failed{contents.error()};
    if (Status<std::string> changed = change(*contents); !changed)
        return changed;
    // Links past their time are of no use to anyone: they go with any change.
    const std::int64_t now = m_clock();
    std::vector<std::pair<std::string, std::int64_t>> links;
    for (const Contents::Link& link : contents->links)
        if (link.expiresAt > now)
            links.emplace_back(link.digest, link.expiresAt);
    const std::string bytes = ToJson(m_diaryPath, contents->devices, links).dump(1) + "\n";
    if (const Status<FileFailure> written = ReplaceFileSafely(lock, bytes); !written)
        return Failed{"cannot write " + m_filePath + ": " + DescribeFileFailure(written.error())};
    return {};
}

Result<std::string, std::string> DeviceStore::NewPairingSecret()
{
    const std::string secret = NewSecret();
    const Status<std::string> changed = Change([&](Contents& contents) -> Status<std::string> {
        contents.links.push_back({Sha256Hex(secret), m_clock() + kLinkLifetime});
        return {};
    });
    if (!changed)
        return Failed{changed.error()};
    return secret;
}

Result<DeviceStore::Pairing, DeviceStore::Refusal> DeviceStore::Redeem(std::string_view pairingSecret,
    std::string_view userAgent)
{
    const std::string digest = Sha256Hex(pairingSecret);
    std::optional<Refusal> refusal;
    Pairing pairing;
    const Status<std::string> changed = Change([&](Contents& contents) -> Status<std::string> {
        for (auto link = contents.links.begin(); link != contents.links.end(); ++link) {
            if (!SameDigest(link->digest, digest))
                continue;
            const bool expired = link->expiresAt <= m_clock();
            contents.links.erase(link);
            if (expired) {
                refusal = Refusal::ExpiredLink;
                return {};
            }
            pairing.name = NumberedName(contents.devices, DeviceNameOfAgent(userAgent));
            pairing.secret = NewSecret();
            contents.devices.push_back({pairing.name, Device::Kind::Phone, m_clock(), Sha256Hex(pairing.secret)});
            return {};
        }
        refusal = Refusal::UnknownLink;
        return Failed{std::string("unknown link")}; // nothing to write
    });
    if (refusal)
        return Failed{*refusal};
    if (!changed)
        return Failed{Refusal::Unwritable};
    return pairing;
}

Result<std::string, std::string> DeviceStore::NewToken(std::string name)
{
    const std::string secret = NewSecret();
    const Status<std::string> changed = Change([&](Contents& contents) -> Status<std::string> {
        if (name.empty())
            name = NumberedName(contents.devices, "token");
        else if (!IsFree(contents.devices, name))
            return Failed{"a device named '" + name + "' exists already"};
        contents.devices.push_back({name, Device::Kind::Token, m_clock(), Sha256Hex(secret)});
        return {};
    });
    if (!changed)
        return Failed{changed.error()};
    return secret;
}

std::optional<Device> DeviceStore::Authenticate(std::string_view secret, Device::Kind kind) const
{
    if (secret.empty())
        return std::nullopt;
    const Result<Contents, std::string> contents = Read();
    if (!contents)
        return std::nullopt;
    const std::string digest = Sha256Hex(secret);
    for (const Device& device : contents->devices)
        if (device.kind == kind && SameDigest(device.digest, digest))
            return device;
    return std::nullopt;
}

Result<std::vector<Device>, std::string> DeviceStore::List() const
{
    Result<Contents, std::string> contents = Read();
    if (!contents)
        return Failed{contents.error()};
    return std::move(contents->devices);
}

Status<std::string> DeviceStore::Revoke(const std::string& name)
{
    return Change([&](Contents& contents) -> Status<std::string> {
        for (auto device = contents.devices.begin(); device != contents.devices.end(); ++device)
            if (device->name == name) {
                contents.devices.erase(device);
                return {};
            }
        return Failed{"no device is named '" + name + "'"};
    });
}

std::string DeviceNameOfAgent(std::string_view userAgent)
{
    // The most telling word first: an iPad's agent may also say "Macintosh",
    // an Android one "Linux".
    static constexpr std::pair<std::string_view, const char*> kNames[] = {
        {"iPhone", "iPhone"},
        {"iPad", "iPad"},
        {"Android", "Android"},
        {"Windows", "Windows"},
        {"Macintosh", "Mac"},
        {"Linux", "Linux"},
    };
    for (const auto& [word, name] : kNames)
        if (userAgent.find(word) != std::string_view::npos)
            return name;
    return "phone";
}
