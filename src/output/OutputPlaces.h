#pragma once

#include <string>

#include "os/Platform.h"

namespace zelvane {

// The identity of a file where outputs are placed (see identityOf), looked
// at while no thread places an output: Windows cannot replace a file that
// another thread has open, even only to be looked at.
FileIdentity identityBesideOutputs(const std::string& path);

}  // namespace zelvane
