#pragma once

#include "cli/verb_options.h"

#include <string>
#include <vector>

// The verbs of tarelog-cli, listed with their names in verbs.cpp. Each has
// its table of options and operands, and receives the arguments after the
// verb and returns the exit status (see verb_preamble.h).
const VerbTable& AddTable();
const VerbTable& DevicesTable();
const VerbTable& DumpTable();
const VerbTable& ExportCsvTable();
const VerbTable& ImportTable();
const VerbTable& MergeTable();
const VerbTable& PairTable();
const VerbTable& RenderTable();
const VerbTable& ResaveTable();
const VerbTable& ServeTable();
const VerbTable& StatsTable();

int RunAdd(const std::vector<std::string>& args);
int RunDevices(const std::vector<std::string>& args);
int RunDump(const std::vector<std::string>& args);
int RunExportCsv(const std::vector<std::string>& args);
int RunImport(const std::vector<std::string>& args);
int RunImportCsv(const std::vector<std::string>& args);
int RunMerge(const std::vector<std::string>& args);
int RunPair(const std::vector<std::string>& args);
int RunRender(const std::vector<std::string>& args);
int RunResave(const std::vector<std::string>& args);
int RunServe(const std::vector<std::string>& args);
int RunStats(const std::vector<std::string>& args);
