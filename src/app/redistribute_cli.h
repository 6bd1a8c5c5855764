// The command-line tool quilane-redistribute: reads a coordinate file (*.arf,
// or a Selig or Lednicer .dat file, told by its content) as a click in the
// window's file list does, or generates a NACA section, runs the calculation
// with the given settings and writes the result files (the new points as
// *.arf or Selig, the camber line as *.arf), with no window.
#ifndef QUILANE_APP_REDISTRIBUTE_CLI_H_
#define QUILANE_APP_REDISTRIBUTE_CLI_H_

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"  // the exit codes

namespace quilane {

// Runs the tool on the arguments after the program name. Results that go to
// standard output are written to `out`, messages to `err`. Returns the exit code.
int RunRedistributeCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace quilane

#endif  // QUILANE_APP_REDISTRIBUTE_CLI_H_
