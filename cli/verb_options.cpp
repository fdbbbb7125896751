#include "cli/verb_options.h"

#include <getopt.h>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

// getopt_long's code of an option: its letter, or a number past every
// letter for an option that has only a long name.
constexpr int kLongOnlyCode = 256;

int CodeOf(const OptionEntry& option, std::size_t index)
{
    return option.letter != 0 ? option.letter : kLongOnlyCode + static_cast<int>(index);
}

const OptionEntry* FindByCode(const std::vector<OptionEntry>& options, int code)
{
    for (std::size_t i = 0; i < options.size(); ++i)
        if (CodeOf(options[i], i) == code)
            return &options[i];
    return nullptr;
}

std::string SpellingOf(const OptionEntry& option, bool asLong)
{
    if (asLong || option.letter == 0)
        return std::string("--") + option.name;
    return std::string("-") + option.letter;
}

// "-:": operands come back in their place (code 1) whatever POSIXLY_CORRECT
// says, and a missing value is told apart from an unknown option.
std::string ShortOptions(const std::vector<OptionEntry>& options)
{
    std::string letters = "-:";
    for (const OptionEntry& option : options) {
        if (option.letter == 0)
            continue;
        letters += option.letter;
        if (option.value != nullptr)
            letters += ':';
    }
    return letters;
}

std::vector<option> LongOptions(const std::vector<OptionEntry>& options)
{
    std::vector<option> table;
    for (std::size_t i = 0; i < options.size(); ++i)
        if (options[i].name != nullptr)
            table.push_back({options[i].name, options[i].value != nullptr ? required_argument : no_argument, nullptr,
                CodeOf(options[i], i)});
    table.push_back({nullptr, 0, nullptr, 0});
    return table;
}

// What getopt_long refused, said as the user wrote it. `arg` is the
// argument it was reading.
std::string Refusal(const std::vector<OptionEntry>& options, int code, std::string_view arg)
{
    if (code != 0 && FindByCode(options, code) == nullptr)
        return std::string("unknown option '-") + static_cast<char>(code) + "'";
    if (code != 0)
        return "'" + SpellingOf(*FindByCode(options, code), true) + "' takes no value";
    const std::string_view name = arg.substr(2, arg.find('=') - 2);
    const auto matches = std::count_if(options.begin(), options.end(), [&](const OptionEntry& option) {
        return option.name != nullptr && std::string_view(option.name).starts_with(name);
    });
    if (matches > 1)
        return "option '--" + std::string(name) + "' is ambiguous";
    return "unknown option '" + std::string(arg) + "'";
}

} // namespace

bool IsNegativeNumber(std::string_view arg)
{
    if (arg.size() < 2 || arg[0] != '-')
        return false;
    if (std::isdigit(static_cast<unsigned char>(arg[1])) || arg[1] == '.')
        return true;
    // "-inf" and "-nan" are numbers too, though no weight: the verb says so.
    std::string word(arg.substr(1, 3));
    for (char& c : word)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word == "inf" || word == "nan";
}

bool HasOption(const ParsedArguments& parsed, int id)
{
    return std::any_of(parsed.options.begin(), parsed.options.end(),
        [id](const UsedOption& used) { return used.id == id; });
}

std::vector<OptionEntry> WithHelpOption(const std::vector<OptionEntry>& options)
{
    std::vector<OptionEntry> all = options;
    all.push_back({kHelpOption, "help", 'h', nullptr, "print this help and exit"});
    return all;
}

ParsedArguments ParseVerbArguments(const VerbTable& verb, const std::vector<std::string>& args)
{
    const std::vector<OptionEntry> options = WithHelpOption(verb.options);
    // Everything after the first "--" is an operand. An option left without
    // its value just before it takes the first of them, so "-o -- -x.csv"
    // names the file "-x.csv".
    const auto separator = std::find(args.begin(), args.end(), "--");
    std::vector<std::string> before(args.begin(), separator);
    std::vector<std::string> after(separator == args.end() ? separator : separator + 1, args.end());

    // The empty operand in front is read first and dropped: getopt_long
    // starts afresh on that call (optind 0), before the loop below may step
    // over an argument itself.
    std::vector<char*> argv{const_cast<char*>("tarelog-cli"), const_cast<char*>("")};
    for (std::string& arg : before)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(argv.size()) - 1;
    const std::string letters = ShortOptions(options);
    const std::vector<option> longOptions = LongOptions(options);

    ParsedArguments parsed;
    auto complain = [&](std::string problem) {
        if (parsed.problem.empty())
            parsed.problem = std::move(problem);
    };
    opterr = 0;
    optind = 0;
    getopt_long(argc, argv.data(), letters.c_str(), longOptions.data(), nullptr);
    for (;;) {
        if (optind < argc && IsNegativeNumber(argv[optind])) {
            parsed.operands.emplace_back(argv[optind++]);
            continue;
        }
        int longIndex = -1;
        const int code = getopt_long(argc, argv.data(), letters.c_str(), longOptions.data(), &longIndex);
        if (code == -1)
            break;
        if (code == 1) {
            parsed.operands.emplace_back(optarg);
            continue;
        }
        if (code == '?') {
            complain(Refusal(options, optopt, optopt == 0 ? argv[optind - 1] : ""));
            continue;
        }
        const OptionEntry& option = *FindByCode(options, code == ':' ? optopt : code);
        // A missing value leaves the option itself the last argument read.
        const bool asLong = longIndex >= 0 || (code == ':' && std::string_view(argv[optind - 1]).starts_with("--"));
        UsedOption used{option.id, SpellingOf(option, asLong), optarg != nullptr ? optarg : ""};
        if (code == ':') {
            if (optind < argc || after.empty()) {
                complain(used.spelling + " needs a value");
                continue;
            }
            used.value = after.front();
            after.erase(after.begin());
        }
        if (option.id == kHelpOption)
            parsed.help = true;
        else
            parsed.options.push_back(std::move(used));
    }
    for (std::string& operand : after)
        parsed.operands.push_back(std::move(operand));
    return parsed;
}

std::string OptionsHelp(const std::vector<OptionEntry>& options)
{
    std::vector<std::string> labels;
    std::size_t width = 0;
    for (const OptionEntry& option : options) {
        std::string label = option.letter != 0 ? std::string("-") + option.letter : "";
        if (option.name != nullptr)
            label += (label.empty() ? "--" : ", --") + std::string(option.name);
        if (option.value != nullptr)
            label += std::string(" ") + option.value;
        width = std::max(width, label.size());
        labels.push_back(std::move(label));
    }
    const std::string indent(2 + width + 2, ' ');
    std::string help;
    for (std::size_t i = 0; i < options.size(); ++i) {
        std::string line = "  " + labels[i];
        line.resize(indent.size(), ' ');
        std::string_view text = options[i].help;
        for (std::size_t end; (end = text.find('\n')) != std::string_view::npos; text.remove_prefix(end + 1))
            line += std::string(text.substr(0, end)) + "\n" + indent;
        help += line + std::string(text) + "\n";
    }
    return help;
}

std::string VerbHelp(const VerbTable& verb, const std::string& name)
{
    return "usage: tarelog-cli " + name + " " + verb.synopsis + "\n\n" + verb.description + "\noptions:\n"
        + OptionsHelp(WithHelpOption(verb.options)) + verb.epilogue;
}
