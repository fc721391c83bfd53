#include "recoveryfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

namespace qrn {

namespace {

constexpr char kMagic[] = "QRNRECOVERY1";  // 12 bytes without the terminator
constexpr std::size_t kMagicSize = sizeof kMagic - 1;
constexpr std::uint32_t kMaxPath = 65536;

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

bool writeAll(int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(int fd, void* data, std::size_t size) {
    auto* p = static_cast<unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

FileResult failure(int err) { return {false, std::strerror(err), err}; }

}  // namespace

FileResult writeRecoveryFile(const std::string& path, Scenario& s, const std::string& sourcePath,
                             std::int64_t writtenAt) {
    namespace fs = std::filesystem;
    fs::path dir = fs::path(path).parent_path();
    if (dir.empty()) dir = ".";
    std::string tmpl = (dir / (fs::path(path).filename().string() + ".XXXXXX")).string();
    Fd tmp{::mkstemp(tmpl.data())};
    if (tmp.fd < 0) return failure(errno);
    // Only the author may read the work.
    ::fchmod(tmp.fd, 0600);
    const auto pathLength = static_cast<std::uint32_t>(std::min<std::size_t>(sourcePath.size(), kMaxPath));
    bool ok;
    {
        lockdata(s, true);
        ok = writeAll(tmp.fd, s.bytes(), kRecordSize);
        lockdata(s, false);
    }
    ok = ok && writeAll(tmp.fd, kMagic, kMagicSize) && writeAll(tmp.fd, &pathLength, sizeof pathLength) &&
         writeAll(tmp.fd, sourcePath.data(), pathLength) && writeAll(tmp.fd, &writtenAt, sizeof writtenAt);
    int err = ok ? 0 : errno;
    const int fd = tmp.fd;
    tmp.fd = -1;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(tmpl.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmpl.c_str());
        return failure(err);
    }
    return {true, {}};
}

std::optional<RecoveryInfo> readRecoveryInfo(const std::string& path) {
    Fd file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    if (st.st_size < static_cast<off_t>(kRecordSize + kMagicSize + sizeof(std::uint32_t) + sizeof(std::int64_t)))
        return std::nullopt;
    auto record = std::make_unique<Scenario>();
    if (!readAll(file.fd, record->bytes(), kRecordSize)) return std::nullopt;
    char magic[kMagicSize];
    std::uint32_t pathLength = 0;
    if (!readAll(file.fd, magic, kMagicSize) || std::memcmp(magic, kMagic, kMagicSize) != 0 ||
        !readAll(file.fd, &pathLength, sizeof pathLength) || pathLength > kMaxPath)
        return std::nullopt;
    RecoveryInfo info;
    info.sourcePath.resize(pathLength);
    if (!readAll(file.fd, info.sourcePath.data(), pathLength) ||
        !readAll(file.fd, &info.writtenAt, sizeof info.writtenAt))
        return std::nullopt;
    lockdata(*record, false);
    info.scenarioName = record->settings.scenarioname.str();
    return info;
}

}  // namespace qrn
