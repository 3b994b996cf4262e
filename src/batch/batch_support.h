#pragma once
// What the tool's commands share: the data folder's check and the report of a fault.

#include <iosfwd>
#include <string>
#include <string_view>

#include "core/textio/faults.h"

namespace fetaldose::batch {

bool isFolder(const std::string& path);

// The folder as the core names its data directory: with a separator at the end.
std::string dataDirectoryOf(const std::string& folder);

// "fetaldose-batch: <name>: <message>".
void reportFault(std::ostream& err, const std::string& name, std::string_view message);
// A fault about a file: its report names the file where the fault knows it, else `name`.
void reportFault(std::ostream& err, const std::string& name, const Fault& fault);

// Checks the data folder and its catalogue; on a failure reports it and gives the status.
int checkDataFolder(const std::string& folder, std::ostream& err);

}  // namespace fetaldose::batch
