#pragma once

#include <ostream>

#include "CommandLine.h"

namespace zelvane {

// Converts every model of the command line on its own ("--each"), side by
// side on the cores the process may use. Standard output gets each model's
// load report and count line as one block, in the order of the models
// whatever order they finish in; standard error the texture warnings with
// them, then "converted N of M models" and the line of each failure. While
// it runs, a terminal's standard error shows a progress line (see
// Progress). Returns the exit status: success when every model converted.
int runBatch(const CommandLine& commandLine, std::ostream& out, std::ostream& err, bool errorIsTerminal);

}  // namespace zelvane
