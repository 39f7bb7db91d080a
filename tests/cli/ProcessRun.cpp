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

// The file actions of one spawn, released on every path.
class CSpawnActions {
  public:
    CSpawnActions() { posix_spawn_file_actions_init(&m_actions); }
    ~CSpawnActions() { posix_spawn_file_actions_destroy(&m_actions); }
    CSpawnActions(const CSpawnActions&) = delete;
    CSpawnActions& operator=(const CSpawnActions&) = delete;

    posix_spawn_file_actions_t* Get() { return &m_actions; }

  private:
    posix_spawn_file_actions_t m_actions;
};

}  // namespace

SProcessResult RunProcess(const std::string& strProgram, const std::vector<std::string>& args,
                          const std::string& strFolder) {
    // The streams go to files: no pipe can fill up while the other one is drained.
    const CTempDir captures;
    const std::string strOutPath = captures.Path("stdout");
    const std::string strErrPath = captures.Path("stderr");
    CSpawnActions actions;
    posix_spawn_file_actions_addopen(actions.Get(), 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(actions.Get(), 1, strOutPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(actions.Get(), 2, strErrPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(actions.Get(), strFolder.c_str());

    std::vector<std::string> argv = {strProgram};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& strArg : argv) {
        pointers.push_back(strArg.data());
    }
    pointers.push_back(nullptr);

    pid_t nPid = 0;
    if (posix_spawn(&nPid, strProgram.c_str(), actions.Get(), nullptr, pointers.data(), environ) !=
        0) {
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
