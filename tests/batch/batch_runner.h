#pragma once
// Runs fetaldose-batch as a script would: arguments, a working directory, an environment with
// a known locale; its exit status, standard output and standard error come back.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace fetaldose::testing {

struct BatchResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// `scratch` is a folder (with a trailing separator) for the captured streams.
inline BatchResult runBatchTool(const std::string& program, const std::vector<std::string>& args,
                                const std::string& workingDirectory, const std::string& scratch,
                                const std::string& locale = "C.UTF-8") {
    const std::string outPath = scratch + ".batch-out";
    const std::string errPath = scratch + ".batch-err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    // The tool runs in the given folder, as a script's command would.
    std::vector<std::string> command = {"/bin/sh", "-c", "cd \"$0\" && exec \"$@\"",
                                        workingDirectory, program};
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : command) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = {"LC_ALL=" + locale, "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = 0;
    const int rc = posix_spawn(&pid, "/bin/sh", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + program);
    int wstatus = 0;
    while (::waitpid(pid, &wstatus, 0) < 0) {
    }
    BatchResult result;
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    result.out = readWhole(outPath);
    result.err = readWhole(errPath);
    ::unlink(outPath.c_str());
    ::unlink(errPath.c_str());
    return result;
}

}  // namespace fetaldose::testing
