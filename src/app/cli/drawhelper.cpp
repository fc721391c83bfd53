#include "drawhelper.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "cliutil.h"
#include "sheetdrawer.h"

extern char** environ;

namespace qrn::cli {

namespace {

// The helper lies beside the tool in the build tree, and in the program's
// libexec folder once installed.
std::string drawHelperPath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const std::filesystem::path dir = self.parent_path();
    for (const std::filesystem::path& candidate :
         {dir / "quorantel-cli-draw", dir.parent_path() / QRN_CLI_DRAW_LIBEXEC / "quorantel-cli-draw"}) {
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return {};
}

std::string helperOrTell(const char* command) {
    std::string helper = drawHelperPath();
    if (helper.empty())
        std::fprintf(stderr, "quorantel-cli: %s needs quorantel-cli-draw, which is not installed with the tool\n",
                     command);
    return helper;
}

// The helper decodes and draws hundreds of pictures into fresh memory; on
// transparent huge pages that memory costs a fraction of the page faults.
// An author's own setting of the tunable is kept.
void askForHugePages() {
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "glibc.malloc.hugetlb")) return;
    std::string value = tunables && *tunables ? std::string(tunables) + ":" : std::string();
    value += "glibc.malloc.hugetlb=1";
    ::setenv("GLIBC_TUNABLES", value.c_str(), 1);
}

// The helper drawing and writing one sheet: it gets the record and the
// sheet's path through a socket (so a helper that ended early makes the send
// fail rather than raise SIGPIPE); its stderr is the tool's.
class HelperSheetDrawer final : public SheetDrawer {
public:
    HelperSheetDrawer(pid_t pid, int toHelper) : pid_(pid), toHelper_(toHelper) {}
    ~HelperSheetDrawer() override {
        if (pid_ > 0) ::kill(pid_, SIGKILL);  // the join ended before the sheet was asked for
        finish();
    }

    bool write(const Scenario& s, const ChipAssignment&, ResourceFolder&, const std::string& path) override {
        // The record, then the path; the end of the input ends the path.
        const bool sent = sendAll(s.bytes(), kRecordSize) && sendAll(path.data(), path.size());
        // The helper tells its own failures; one that ended before taking
        // everything has told why.
        return finish() && sent;
    }

private:
    bool sendAll(const void* bytes, std::size_t size) {
        const auto* at = static_cast<const char*>(bytes);
        for (std::size_t done = 0; done < size;) {
            const ssize_t w = ::send(toHelper_, at + done, size - done, MSG_NOSIGNAL);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return false;
            done += static_cast<std::size_t>(w);
        }
        return true;
    }

    // Ends the input and waits for the helper; true when it wrote the sheet.
    bool finish() {
        if (toHelper_ >= 0) ::close(toHelper_);
        toHelper_ = -1;
        int status = 0;
        pid_t ended = -1;
        while (pid_ > 0 && (ended = ::waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {
        }
        const bool drew = pid_ > 0 && ended == pid_ && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        pid_ = -1;
        return drew;
    }

    pid_t pid_;
    int toHelper_;
};

}  // namespace

int runDrawHelper(char** argv) {
    const std::string helper = helperOrTell(argv[1]);
    if (helper.empty()) return kExitIo;
    argv[0] = const_cast<char*>(helper.c_str());
    askForHugePages();
    ::execv(helper.c_str(), argv);
    std::fprintf(stderr, "quorantel-cli: cannot start %s: %s\n", helper.c_str(), std::strerror(errno));
    return kExitIo;
}

std::unique_ptr<SheetDrawer> startSheetDrawer(const std::string& resourceFolder) {
    std::string helper = helperOrTell("join");
    if (helper.empty()) return nullptr;
    int channel[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, channel) != 0) {
        std::fprintf(stderr, "quorantel-cli: cannot start %s: %s\n", helper.c_str(), std::strerror(errno));
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDIN_FILENO);
    std::string command = "draw-sheet", option = "--resources", folder = resourceFolder;
    char* argv[] = {helper.data(), command.data(), option.data(), folder.data(), nullptr};
    askForHugePages();
    pid_t pid = -1;
    const int started = ::posix_spawn(&pid, helper.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(channel[1]);
    if (started != 0) {
        ::close(channel[0]);
        std::fprintf(stderr, "quorantel-cli: cannot start %s: %s\n", helper.c_str(), std::strerror(started));
        return nullptr;
    }
    return std::make_unique<HelperSheetDrawer>(pid, channel[0]);
}

}  // namespace qrn::cli
