#pragma once

#include "cli/verb_arguments.h"

// The verbs of tarelog-cli, listed with their names in main.cpp. Each
// receives the arguments after the verb and returns the exit status (see
// verb_preamble.h).
int RunAdd(const VerbArguments& args);
int RunDump(const VerbArguments& args);
int RunExportCsv(const VerbArguments& args);
int RunImport(const VerbArguments& args);
int RunImportCsv(const VerbArguments& args);
int RunMerge(const VerbArguments& args);
int RunRender(const VerbArguments& args);
int RunResave(const VerbArguments& args);
int RunStats(const VerbArguments& args);
