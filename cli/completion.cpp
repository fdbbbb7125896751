#include "cli/completion.h"

#include "cli/verbs.h"

#include <charconv>
#include <cstdio>
#include <sstream>

namespace {

std::vector<std::string> Words(const std::string& spaced)
{
    std::vector<std::string> words;
    std::istringstream in(spaced);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

void OfferMatching(std::vector<std::string>& out, const std::string& candidate, const std::string& partial)
{
    if (candidate.starts_with(partial))
        out.push_back(candidate);
}

// The words of `offer` that complete `partial`; for a list, after the
// items already written and without repeating them.
void OfferValue(std::vector<std::string>& out, const Offer& offer, const std::string& partial)
{
    const std::size_t comma = offer.list ? partial.rfind(',') : std::string::npos;
    const std::string done = comma == std::string::npos ? "" : partial.substr(0, comma + 1);
    for (const std::string& word : Words(offer.words))
        if (("," + done).find("," + word + ",") == std::string::npos)
            OfferMatching(out, done + word, partial);
    if (offer.files != nullptr)
        out.push_back(*offer.files == '\0' ? "@files" : std::string("@files ") + offer.files);
}

// A long option by its name or a unique abbreviation, as the parser reads it.
const OptionEntry* FindLong(const std::vector<OptionEntry>& options, const std::string& name)
{
    const OptionEntry* found = nullptr;
    for (const OptionEntry& option : options) {
        if (option.name == nullptr || !std::string(option.name).starts_with(name))
            continue;
        if (name == option.name)
            return &option;
        if (found != nullptr)
            return nullptr;
        found = &option;
    }
    return found;
}

const OptionEntry* FindLetter(const std::vector<OptionEntry>& options, char letter)
{
    for (const OptionEntry& option : options)
        if (option.letter == letter)
            return &option;
    return nullptr;
}

// What the words before the one completed leave open.
struct Position {
    bool optionsEnded = false;
    const OptionEntry* awaitingValue = nullptr;
    std::size_t operand = 0;
};

// The option an argument names when its value is still to come in the next
// argument; nullptr for any other argument.
const OptionEntry* ValueToCome(const std::vector<OptionEntry>& options, const std::string& word)
{
    if (word.starts_with("--")) {
        const OptionEntry* option = FindLong(options, word.substr(2));
        return option != nullptr && option->value != nullptr ? option : nullptr;
    }
    for (std::size_t i = 1; i < word.size(); ++i) {
        const OptionEntry* option = FindLetter(options, word[i]);
        if (option != nullptr && option->value != nullptr)
            return i + 1 == word.size() ? option : nullptr;
    }
    return nullptr;
}

Position PositionAt(const std::vector<OptionEntry>& options, const std::vector<std::string>& words, std::size_t index)
{
    Position at;
    for (std::size_t i = 2; i < index; ++i) {
        const std::string& word = words[i];
        if (at.awaitingValue != nullptr)
            at.awaitingValue = nullptr;
        else if (at.optionsEnded || word.size() < 2 || word[0] != '-' || IsNegativeNumber(word))
            ++at.operand;
        else if (word == "--")
            at.optionsEnded = true;
        else
            at.awaitingValue = ValueToCome(options, word);
    }
    return at;
}

void OfferOptions(std::vector<std::string>& out, const std::vector<OptionEntry>& options, const std::string& partial)
{
    for (const OptionEntry& option : options) {
        if (option.name != nullptr)
            OfferMatching(out, std::string("--") + option.name, partial);
        if (option.letter != 0)
            OfferMatching(out, std::string("-") + option.letter, partial);
    }
    OfferMatching(out, "--", partial);
}

} // namespace

std::vector<std::string> Completions(const std::vector<std::string>& words, std::size_t index)
{
    const std::string current = index < words.size() ? words[index] : "";
    std::vector<std::string> out;
    if (index <= 1) {
        for (const Verb& verb : Verbs())
            OfferMatching(out, verb.name, current);
        OfferMatching(out, "--help", current);
        OfferMatching(out, "--version", current);
        return out;
    }
    const Verb* verb = nullptr;
    for (const Verb& candidate : Verbs())
        if (words[1] == candidate.name)
            verb = &candidate;
    if (verb == nullptr)
        return out;
    const VerbTable& table = verb->table();
    const std::vector<OptionEntry> options = WithHelpOption(table.options);
    const Position at = PositionAt(options, words, std::min(index, words.size()));
    if (at.awaitingValue != nullptr) {
        OfferValue(out, at.awaitingValue->offer, current);
    } else if (!at.optionsEnded && current.starts_with("--") && current.find('=') != std::string::npos) {
        // The shell replaces only what follows the '='.
        const std::size_t equals = current.find('=');
        if (const OptionEntry* option = FindLong(options, current.substr(2, equals - 2)))
            OfferValue(out, option->offer, current.substr(equals + 1));
    } else if (!at.optionsEnded && current.starts_with('-') && !IsNegativeNumber(current)) {
        OfferOptions(out, options, current);
    } else if (at.operand < table.operands.size()) {
        OfferValue(out, table.operands[at.operand], current);
    } else if (table.moreOperands && !table.operands.empty()) {
        OfferValue(out, table.operands.back(), current);
    }
    return out;
}

int RunCompletion(const std::vector<std::string>& args)
{
    std::size_t index = 0;
    if (args.empty() || std::from_chars(args[0].data(), args[0].data() + args[0].size(), index).ec != std::errc())
        return 2;
    for (const std::string& line : Completions(std::vector<std::string>(args.begin() + 1, args.end()), index))
        std::printf("%s\n", line.c_str());
    return 0;
}
