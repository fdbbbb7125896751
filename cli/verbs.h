#pragma once

#include "cli/verb_options.h"

#include <span>
#include <string>
#include <vector>

struct Verb {
    const char* name;
    const char* summary; // one line for the tool's --help
    const VerbTable& (*table)();
    int (*run)(const std::vector<std::string>& args);
};

// Every verb, in the order the tool's --help lists them.
std::span<const Verb> Verbs();
