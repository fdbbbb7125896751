#include "diary/sharing/sync_state.h"

#include "platform/fnv_hash.h"
#include "platform/file_names.h"
#include "platform/file_reader.h"
#include "platform/safe_file.h"

#include <cstring>
#include <filesystem>

namespace {

// A binary file, since a diary of a million days has a million entries:
// the magic, the count, then each entry with flags saying which of the
// optional fields follow. Entries whose shared value equals their own carry
// only one digest.
constexpr char kMagic[8] = {'T', 'L', 'G', 'S', 'Y', 'N', 'C', '1'};
constexpr std::uint8_t kHasShared = 1, kHasChanged = 2;

template <typename T> void Put(std::string& out, T value)
{
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

class Reader {
public:
    explicit Reader(std::string_view bytes)
        : m_bytes(bytes)
    {
    }
    template <typename T> bool Get(T& value)
    {
        if (m_bytes.size() < sizeof(T))
            return false;
        std::memcpy(&value, m_bytes.data(), sizeof(T));
        m_bytes.remove_prefix(sizeof(T));
        return true;
    }
    bool AtEnd() const { return m_bytes.empty(); }

private:
    std::string_view m_bytes;
};

void PutKnowledge(std::string& out, const ValueKnowledge& k)
{
    const std::uint8_t flags = (k.shared != k.mine ? kHasShared : 0) | (k.changedNs != 0 ? kHasChanged : 0);
    Put(out, flags);
    Put(out, k.mine);
    if (flags & kHasShared)
        Put(out, k.shared);
    if (flags & kHasChanged)
        Put(out, k.changedNs);
    Put(out, static_cast<std::uint8_t>(k.earlier.size()));
    for (const DayDigest digest : k.earlier)
        Put(out, digest);
}

bool GetKnowledge(Reader& in, ValueKnowledge& k)
{
    std::uint8_t flags = 0, earlier = 0;
    if (!in.Get(flags) || !in.Get(k.mine))
        return false;
    k.shared = k.mine;
    if ((flags & kHasShared) && !in.Get(k.shared))
        return false;
    if ((flags & kHasChanged) && !in.Get(k.changedNs))
        return false;
    if (!in.Get(earlier) || earlier > ValueKnowledge::kEarlierKept)
        return false;
    k.earlier.resize(earlier);
    for (DayDigest& digest : k.earlier)
        if (!in.Get(digest))
            return false;
    return true;
}

} // namespace

const ValueKnowledge& DiarySyncState::Day(const DayKey& key) const
{
    static const ValueKnowledge kNothing;
    const auto it = days.find(key);
    return it == days.end() ? kNothing : it->second;
}

std::string DiarySyncState::PathIn(const std::string& folder, const std::string& diaryPath)
{
    const std::string name = std::filesystem::path(diaryPath).filename().string();
    return folder + "/" + FittedName(name, 1 + 16 + 5, 255) + "-" + Fnv1aHex(diaryPath) + ".sync";
}

std::string DiarySyncState::Bytes() const
{
    std::string out(kMagic, sizeof kMagic);
    Put(out, static_cast<std::uint64_t>(days.size()));
    PutKnowledge(out, settings);
    Put(out, static_cast<std::uint8_t>(written.size()));
    for (const std::uint64_t digest : written)
        Put(out, digest);
    for (const auto& [key, knowledge] : days) {
        Put(out, std::get<0>(key));
        Put(out, std::get<1>(key));
        Put(out, std::get<2>(key));
        PutKnowledge(out, knowledge);
    }
    return out;
}

DiarySyncState DiarySyncState::FromBytes(std::string_view bytes)
{
    DiarySyncState state;
    if (bytes.size() < sizeof kMagic || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return {};
    Reader in(bytes.substr(sizeof kMagic));
    std::uint64_t count = 0;
    std::uint8_t writtenCount = 0;
    if (!in.Get(count) || !GetKnowledge(in, state.settings) || !in.Get(writtenCount) || writtenCount > kWrittenKept)
        return {};
    state.written.resize(writtenCount);
    for (std::uint64_t& digest : state.written)
        if (!in.Get(digest))
            return {};
    for (std::uint64_t i = 0; i < count; ++i) {
        std::int16_t year = 0, month = 0, day = 0;
        ValueKnowledge knowledge;
        if (!in.Get(year) || !in.Get(month) || !in.Get(day) || !GetKnowledge(in, knowledge))
            return {};
        state.days.emplace_hint(state.days.end(), DayKey{year, month, day}, std::move(knowledge));
    }
    if (!in.AtEnd())
        return {};
    state.known = true;
    return state;
}

DiarySyncState DiarySyncState::Load(const std::string& statePath)
{
    const Result<std::string, FileFailure> bytes = ReadWholeFile(statePath);
    return bytes ? FromBytes(*bytes) : DiarySyncState();
}

Status<FileFailure> DiarySyncState::Save(const std::string& statePath) const
{
    std::error_code ignored;
    const std::filesystem::path folder = std::filesystem::path(statePath).parent_path();
    std::filesystem::create_directories(folder, ignored);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ignored);
    return ReplaceFileSafely(statePath, Bytes());
}

DayDigest SettingsDigest(const std::u16string& unit, int digits)
{
    std::string bytes(reinterpret_cast<const char*>(unit.data()), unit.size() * sizeof(char16_t));
    Put(bytes, digits);
    const DayDigest digest = Fnv1a(bytes);
    return digest == 0 ? 1 : digest;
}

std::uint64_t VersionDigest(const std::vector<WeightRecord>& records, const std::u16string& unit, int digits)
{
    const std::string_view bytes(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(WeightRecord));
    return Fnv1a(bytes) ^ (SettingsDigest(unit, digits) * 31);
}
