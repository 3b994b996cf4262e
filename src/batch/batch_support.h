#pragma once
// What the tool's commands share: the data folder's check and the report of a fault.

#include <initializer_list>
#include <iosfwd>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/textio/faults.h"

namespace fetaldose::batch {

bool isFolder(const std::string& path);

// The folder as the core names its data directory: with a separator at the end.
std::string dataDirectoryOf(const std::string& folder);

// "fetaldose-batch: <name>: <message>".
void reportFault(std::ostream& err, const std::string& name, std::string_view message);
// A fault about a file: its report names the file where the fault knows it, else `name`.
void reportFault(std::ostream& err, const std::string& name, const Fault& fault);

// Checks an output name as the program's save window checks a typed one ("-", standard output,
// always passes); on a refusal reports it and gives the status, before anything runs.
int checkOutputName(const std::string& outFile, std::ostream& err);

// Checks the data folder and its catalogue; on a failure reports it and gives the status.
int checkDataFolder(const std::string& folder, std::ostream& err);

// A command's options as read: each flag given (no value) and each valued option's value (the
// next argument, or what follows '='), every one at most once.
struct CommandOptions {
    std::set<std::string> flags;
    std::map<std::string, std::string> values;
    std::string usageError;  // set when the arguments are wrong: nothing else is then set

    bool has(const std::string& flag) const { return flags.count(flag) > 0; }
    std::optional<std::string> value(const std::string& option) const;
};
CommandOptions readCommandOptions(const std::vector<std::string>& arguments,
                                  std::initializer_list<std::string_view> flags,
                                  std::initializer_list<std::string_view> valued);

}  // namespace fetaldose::batch
