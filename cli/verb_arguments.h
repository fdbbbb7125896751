#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The arguments after the verb, with "--" handled alike for every verb:
// before the first "--" an argument that starts with '-' is an option; the
// "--" itself is taken out, and every argument after it is an operand, so a
// file named "-x.tlg" can be given as "-- -x.tlg".
class VerbArguments {
public:
    // Implicit, so that main() hands each verb its vector of arguments.
    VerbArguments(std::vector<std::string> args);

    std::size_t size() const { return m_args.size(); }
    bool empty() const { return m_args.empty(); }
    const std::string& operator[](std::size_t i) const { return m_args[i]; }
    auto begin() const { return m_args.begin(); }
    auto end() const { return m_args.end(); }

    bool IsOption(std::size_t i) const;

private:
    std::vector<std::string> m_args;
    std::size_t m_operandsFrom;
};

// True when the verb's options ask for its help ("--help" or "-h").
bool WantsHelp(const VerbArguments& args);
