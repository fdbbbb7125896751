#pragma once

#include <string>
#include <string_view>
#include <vector>

// Every verb's options are declared once, in a table (a VerbTable), from
// which come the parsing of its arguments, its --help text and what the
// shell completion offers; none of the three can name an option the others
// lack.

// What a shell offers as an option's value or as an operand.
struct Offer {
    std::string words = {};      // the values offered, separated by spaces
    bool list = false;           // the value is a comma-separated list of the words
    const char* files = nullptr; // files: their extensions ("png|svg|ops"), "" for any
};

struct OptionEntry {
    int id;            // the verb's own code for it, handed back with each use
    const char* name;  // the long name without "--"; nullptr when there is only the letter
    char letter;       // the one-letter name, or 0
    const char* value; // the value's name in the help ("WxH"); nullptr for a flag
    const char* help;  // one or more lines; lines after the first continue under it
    Offer offer = {};  // what a shell offers as the value
};

struct VerbTable {
    const char* synopsis = "";    // after "usage: tarelog-cli VERB "
    std::string description = {}; // the paragraphs between the usage line and the options
    std::vector<OptionEntry> options = {};
    std::string epilogue = {};        // after the options; may be empty
    std::vector<Offer> operands = {}; // what a shell offers for each operand in turn
    bool moreOperands = false;        // the last of them may be repeated
};

// The help's and the parser's own option, in every verb.
constexpr int kHelpOption = -1;

struct UsedOption {
    int id;
    std::string spelling; // "--size" or "-o", as it was written
    std::string value;
};

struct ParsedArguments {
    bool help = false;
    std::vector<UsedOption> options; // in the order given
    std::vector<std::string> operands;
    std::string problem; // the first usage error, in English; empty when none
};

// Reads `args` (the arguments after the verb) the GNU way: "--opt=value"
// and "--opt value", "-oVALUE" and "-o VALUE", long names abbreviated to any
// unique prefix, options before and after the operands, "--" ending them.
ParsedArguments ParseVerbArguments(const VerbTable& verb, const std::vector<std::string>& args);

// A weight may be below zero: "-1.5" (or "-inf") is an operand, not the
// options -1, -., -5.
bool IsNegativeNumber(std::string_view arg);

// True when the option `id` was given at least once.
bool HasOption(const ParsedArguments& parsed, int id);

// The verb's --help text, as invoked under `name`.
std::string VerbHelp(const VerbTable& verb, const std::string& name);

// The options' part of the help: one line (or more) per option, aligned.
std::string OptionsHelp(const std::vector<OptionEntry>& options);

// The table's options with the help option that every verb has.
std::vector<OptionEntry> WithHelpOption(const std::vector<OptionEntry>& options);
