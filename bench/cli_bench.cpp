// Whole-process speed of quorantel-cli copy (open and durable save of a
// scenario) against its floor: a process that reads the same bytes, writes
// them to a temporary file, syncs it, renames it over the target and syncs
// the folder. The floor runs as this program started again with --floor, so
// both sides pay for starting a process.
#include <fcntl.h>
#include <sys/stat.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_util.h"

extern char** environ;

namespace {

int floorCopy(const char* in, const char* out) {
    // As lean as it gets: one unzeroed buffer of the file's size, one read.
    const int from = ::open(in, O_RDONLY);
    struct stat st {};
    if (from < 0 || ::fstat(from, &st) != 0) return 1;
    const auto n = static_cast<std::size_t>(st.st_size);
    auto bytes = std::make_unique_for_overwrite<char[]>(n);
    if (::read(from, bytes.get(), n) != static_cast<ssize_t>(n)) return 1;
    ::close(from);
    const std::string temp = std::string(out) + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.get(), n) != static_cast<ssize_t>(n) || ::fsync(fd) != 0) return 1;
    ::close(fd);
    if (std::rename(temp.c_str(), out) != 0) return 1;
    const int dir = ::open(std::filesystem::path(out).parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    if (dir < 0 || ::fsync(dir) != 0) return 1;
    ::close(dir);
    return 0;
}

// Runs argv to completion; false if it could not start or failed.
bool run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--floor") == 0) return floorCopy(argv[2], argv[3]);
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("qrn_cli_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string in = (dir / "in.snr").string();
    const std::string out = (dir / "out.snr").string();
    if (!run({QRN_CLI_PATH, "new", in, "--width", "120", "--height", "120"})) {
        std::fprintf(stderr, "cannot make the scenario\n");
        return 1;
    }
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    std::vector<double> tool, floor;
    for (int i = 0; i < 9; ++i) {
        floor.push_back(qrn::bench::millis([&] { run({self, "--floor", in, out}); }));
        tool.push_back(qrn::bench::millis([&] { run({QRN_CLI_PATH, "copy", in, out}); }));
    }
    const double t = qrn::bench::median(tool), b = qrn::bench::median(floor);
    std::printf("op=cli_copy ms=%.2f baseline_ms=%.2f ratio=%.2f\n", t, b, t / b);
    fs::remove_all(dir);
    return 0;
}
