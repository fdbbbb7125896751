#include "diary/sharing/version_fold.h"

#include <algorithm>
#include <set>

namespace {

enum class Kind { Own, Stale, Fresh };

// `ownOldVersion`: the value comes from a version this machine wrote
// before, so it is this machine's or stale, never fresh.
Kind Classify(DayDigest value, const ValueKnowledge& k, bool known, bool ownOldVersion)
{
    if (!known)
        return Kind::Fresh;
    if (value == k.mine)
        return Kind::Own;
    if (ownOldVersion || value == k.shared || std::find(k.earlier.begin(), k.earlier.end(), value) != k.earlier.end())
        return Kind::Stale;
    return Kind::Fresh;
}

// One distinct value of an item among the versions.
struct Candidate {
    DayDigest digest = 0;
    std::size_t version = 0; // the first version holding it
    std::int64_t timeNs = 0; // the latest change that could have made it
    Kind kind = Kind::Fresh;
};

struct Choice {
    std::size_t version = 0;         // whose value is kept
    std::vector<std::size_t> beaten; // versions whose present, different values lost a conflict
    std::optional<DayDigest> sharedAfter;
};

// `digests[i]` is version i's value of the item.
Choice Choose(const std::vector<DayDigest>& digests, const std::vector<DiaryVersion>& versions,
    const std::vector<bool>& ownOld, const ValueKnowledge& k, bool known)
{
    std::vector<Candidate> distinct;
    for (std::size_t i = 0; i < digests.size(); ++i) {
        auto it = std::find_if(distinct.begin(), distinct.end(),
            [&](const Candidate& c) { return c.digest == digests[i]; });
        if (it == distinct.end())
            distinct.push_back({digests[i], i, versions[i].modifiedNs, Classify(digests[i], k, known, ownOld[i])});
        else {
            it->timeNs = std::max(it->timeNs, versions[i].modifiedNs);
            if (it->kind == Kind::Stale && !ownOld[i])
                it->kind = Classify(digests[i], k, known, false);
        }
    }
    Choice choice;
    std::vector<Candidate> contenders;
    const Candidate* own = nullptr;
    for (const Candidate& c : distinct) {
        if (c.kind == Kind::Fresh)
            contenders.push_back(c);
        else if (c.kind == Kind::Own)
            own = &c;
    }
    if (contenders.empty()) {
        choice.version = own != nullptr ? own->version : 0;
        return choice;
    }
    // The others hold the fresh value: the latest of them, when several.
    const auto latest = [](const Candidate& a, const Candidate& b) { return a.timeNs < b.timeNs; };
    choice.sharedAfter = std::max_element(contenders.begin(), contenders.end(), latest)->digest;
    const bool changedHere = own != nullptr && k.mine != k.shared;
    if (changedHere)
        contenders.push_back({own->digest, own->version, k.changedNs, Kind::Own});
    // A present weight is never dropped for an absence nobody can date.
    const bool anyPresent = std::any_of(contenders.begin(), contenders.end(),
        [](const Candidate& c) { return c.digest != 0; });
    if (anyPresent && contenders.size() > 1)
        std::erase_if(contenders, [](const Candidate& c) { return c.digest == 0; });
    const Candidate& winner = *std::max_element(contenders.begin(), contenders.end(), latest);
    choice.version = winner.version;
    for (const Candidate& c : contenders)
        if (c.digest != winner.digest && c.digest != 0)
            choice.beaten.push_back(c.version);
    return choice;
}

} // namespace

VersionFold FoldVersions(const std::vector<DiaryVersion>& versions, const DiarySyncState& state)
{
    VersionFold fold;
    if (versions.empty())
        return fold;
    std::vector<Days> days;
    std::set<DayKey> keys;
    for (const DiaryVersion& version : versions) {
        days.push_back(GroupByDay(version.contents.records));
        for (const auto& entry : days.back())
            keys.insert(entry.first);
    }
    std::vector<bool> ownOld;
    for (const DiaryVersion& version : versions) {
        const std::uint64_t digest = VersionDigest(version.contents.records, version.contents.unit,
            version.contents.digits);
        ownOld.push_back(std::find(state.written.begin(), state.written.end(), digest) != state.written.end());
    }
    Days replacements;
    std::vector<DayDigest> digests(versions.size());
    for (const DayKey& key : keys) {
        for (std::size_t i = 0; i < versions.size(); ++i)
            digests[i] = DigestOf(RecordsOf(days[i], key));
        const ValueKnowledge& knowledge = state.Day(key);
        const Choice choice = Choose(digests, versions, ownOld, knowledge, state.known);
        if (choice.sharedAfter)
            fold.sharedAfter[key] = *choice.sharedAfter;
        const DayRecords& kept = RecordsOf(days[choice.version], key);
        for (const std::size_t beaten : choice.beaten)
            fold.conflicts.push_back(DayConflict(key, kept, RecordsOf(days[beaten], key), versions[beaten].path));
        if (digests[choice.version] != digests[0]) {
            replacements[key] = kept;
            ++fold.daysChanged;
        }
    }
    fold.merged.records = ReplaceDays(versions[0].contents.records, replacements);

    for (std::size_t i = 0; i < versions.size(); ++i)
        digests[i] = SettingsDigest(versions[i].contents.unit, versions[i].contents.digits);
    const Choice settings = Choose(digests, versions, ownOld, state.settings, state.known);
    fold.settingsSharedAfter = settings.sharedAfter;
    fold.merged.unit = versions[settings.version].contents.unit;
    fold.merged.digits = versions[settings.version].contents.digits;
    for (const std::size_t beaten : settings.beaten)
        fold.conflicts.push_back(SettingsConflict(DiaryConflict::Kind::UnitAndDigits, versions[beaten].path));
    return fold;
}

namespace {

// `k` is what the state knew of the item; a machine without state takes
// the value it read as the one the others hold.
ValueKnowledge Next(ValueKnowledge k, bool known, std::optional<DayDigest> sharedAfter, DayDigest before,
    DayDigest written, std::int64_t nowNs)
{
    if (!known)
        k = ValueKnowledge{before, before, 0, {}};
    if (sharedAfter)
        k.shared = *sharedAfter;
    if (written != k.mine && k.mine != 0) {
        std::erase(k.earlier, k.mine);
        k.earlier.push_back(k.mine);
        if (k.earlier.size() > ValueKnowledge::kEarlierKept)
            k.earlier.erase(k.earlier.begin());
    }
    k.mine = written;
    if (written != before)
        k.changedNs = nowNs;
    else if (written == k.shared)
        k.changedNs = 0;
    return k;
}

} // namespace

DiarySyncState StateAfterWrite(const DiarySyncState& state, const VersionFold& fold, const DiaryContents& before,
    const DiaryContents& written, std::int64_t nowNs)
{
    DiarySyncState next;
    next.known = true;
    const Days beforeDays = GroupByDay(before.records);
    const Days writtenDays = GroupByDay(written.records);
    std::set<DayKey> keys;
    for (const auto& entry : state.days)
        keys.insert(entry.first);
    for (const Days* days : {&beforeDays, &writtenDays})
        for (const auto& entry : *days)
            keys.insert(entry.first);
    for (const DayKey& key : keys) {
        const auto shared = fold.sharedAfter.find(key);
        ValueKnowledge k = Next(state.Day(key), state.known,
            shared == fold.sharedAfter.end() ? std::nullopt : std::optional<DayDigest>(shared->second),
            DigestOf(RecordsOf(beforeDays, key)), DigestOf(RecordsOf(writtenDays, key)), nowNs);
        if (k != ValueKnowledge{})
            next.days.emplace_hint(next.days.end(), key, std::move(k));
    }
    next.written = state.written;
    const std::uint64_t version = VersionDigest(written.records, written.unit, written.digits);
    std::erase(next.written, version);
    next.written.push_back(version);
    if (next.written.size() > DiarySyncState::kWrittenKept)
        next.written.erase(next.written.begin());
    next.settings = Next(state.settings, state.known, fold.settingsSharedAfter,
        SettingsDigest(before.unit, before.digits), SettingsDigest(written.unit, written.digits), nowNs);
    return next;
}
