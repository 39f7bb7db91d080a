#include "ProcessRun.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>

#include "CTempDir.hpp"

extern char** environ;

namespace sulvan::test {
namespace {

std::string ReadText(const std::string& strPath) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(strPath);
    return {bytes.begin(), bytes.end()};
}

}  // namespace

SProcessResult RunProcess(const std::string& strProgram, const std::vector<std::string>& args,
                          const std::string& strFolder) {
    // The streams go to files: no pipe can fill up while the other one is drained.
    const CTempDir captures;
    const std::string strOutPath = captures.Path("stdout");
    const std::string strErrPath = captures.Path("stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, strOutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, strErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addchdir_np(&actions, strFolder.c_str());

    std::vector<std::string> argv = {strProgram};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& strArg : argv) {
        pointers.push_back(strArg.data());
    }
    pointers.push_back(nullptr);

    pid_t nPid = 0;
    const int nSpawn =
        posix_spawn(&nPid, strProgram.c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (nSpawn != 0) {
        throw std::runtime_error("cannot start " + strProgram);
    }
    int nWaitStatus = 0;
    if (waitpid(nPid, &nWaitStatus, 0) != nPid) {
        throw std::runtime_error("cannot wait for " + strProgram);
    }
    SProcessResult result;
    result.nStatus = WIFEXITED(nWaitStatus) ? WEXITSTATUS(nWaitStatus) : -1;
    result.strOut = ReadText(strOutPath);
    result.strErr = ReadText(strErrPath);
    return result;
}

}  // namespace sulvan::test
