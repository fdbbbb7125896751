#pragma once

#include <string>
#include <vector>

// What the shell completions offer comes from the verbs' own tables, asked
// at each Tab through a hidden entry point:
//
//     tarelog-cli --complete INDEX WORD...
//
// WORD... is the command line as the shell split it (the program first, a
// "--opt=value" kept whole) and INDEX the word being completed. The answer
// is one candidate per line; a line "@files" asks the shell for files, and
// "@files png|svg" for files with those extensions (and folders).
inline constexpr char kCompleteEntry[] = "--complete";

// The candidates for word `index` of `words`.
std::vector<std::string> Completions(const std::vector<std::string>& words, std::size_t index);

// The entry point: prints Completions; exit status 2 for arguments that are
// not INDEX WORD...
int RunCompletion(const std::vector<std::string>& args);
