#include "scenariofile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "lockformat.h"

namespace qrn {

template <int N>
void lockText(ShortString<N>& t) {
    // Eight characters at a time: saving locks and unlocks some 700 KB of
    // text in thousands of slots.
    constexpr std::uint64_t mask8 = 0x0101010101010101ull * lockformat::kMask;
    const int n = t.length();
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, t.chars + i, 8);
        w ^= mask8;
        std::memcpy(t.chars + i, &w, 8);
    }
    for (; i < n; ++i) t.chars[i] = static_cast<char>(t.chars[i] ^ lockformat::kMask);
}
template void lockText<16>(ShortString<16>&);
template void lockText<32>(ShortString<32>&);
template void lockText<250>(ShortString<250>&);
template void lockText<255>(ShortString<255>&);

void lockshortpass(ShortString16& t) {
    const int n = t.length();
    if (n == 0) return;
    char plain[16];
    for (int i = 0; i < n; ++i) plain[i] = static_cast<char>(t.chars[i] ^ lockformat::kMask);
    const unsigned char* perm = lockformat::kPasswordPermutation[n - 1];
    for (int i = 0; i < n; ++i) t.chars[i] = plain[perm[i]];
}

void lockshortmelt(ShortString16& t) {
    const int n = t.length();
    if (n == 0) return;
    char locked[16];
    std::memcpy(locked, t.chars, n);
    const unsigned char* perm = lockformat::kPasswordPermutation[n - 1];
    for (int i = 0; i < n; ++i) t.chars[perm[i]] = static_cast<char>(locked[i] ^ lockformat::kMask);
}

void lockdata(Scenario& s, bool lock) {
    ScenarioSettings& st = s.settings;
    if (lock) lockshortpass(st.scplaypassword);
    else lockshortmelt(st.scplaypassword);
    lockText(st.reserved2);
    lockText(st.scenarioname);
    lockText(st.scdesigner);
    lockText(st.randomStamp);
    lockText(s.hero.heroname);
    for (auto& c : s.comments) {
        lockText(c.name);
        lockText(c.line1);
        lockText(c.line2);
        lockText(c.line3);
        lockText(c.line4);
    }
    for (int k = 0; k < 50; ++k) {
        lockText(s.bgms[k].name);
        lockText(s.enemyTypes[k].name);
        lockText(s.sounds[k].name);
        lockText(s.magics[k].name);
        lockText(s.poisons[k].name);
    }
    for (auto& w : s.walkImgs) lockText(w.name);
    for (int f = 0; f < kFieldCount; ++f) {
        lockText(s.fields[f].name);
        lockText(s.fieldItemImageFiles[f]);
    }
    for (auto& frames : s.walkImageFiles)
        for (auto& name : frames) lockText(name);
    for (int k = 0; k < 250; ++k) {
        lockText(s.charas[k].name);
        lockText(s.charaImageFiles[k]);
        lockText(s.items[k].name);
        lockText(s.itemImageFiles[k]);
        lockText(s.eventImageFiles[k]);
        lockText(s.eventImage2Files[k]);
        lockText(s.events[k].name);
        lockText(s.enterImage2Files[k]);
        lockText(s.enterImageFiles[k]);
        lockText(s.enters[k].name);
    }
    for (int k = 0; k < kPlaceCount; ++k) {
        lockText(s.places[k].name);
        lockText(s.placeImage2Files[k]);
        lockText(s.placeImageFiles[k]);
    }
}

namespace {

FileResult systemError(int err) { return {false, std::strerror(err), err}; }

struct FdCloser {
    int fd = -1;
    ~FdCloser() { if (fd >= 0) ::close(fd); }
};

// Reads up to `want` bytes; returns how many were read, or -1 on error.
long long readFully(int fd, unsigned char* buf, std::size_t want) {
    std::size_t got = 0;
    while (got < want) {
        const ssize_t r = ::read(fd, buf + got, want - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
    }
    return static_cast<long long>(got);
}

bool writeFully(int fd, const unsigned char* buf, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t w = ::write(fd, buf + done, size - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(w);
    }
    return true;
}

// Puts the finished temporary file in place of the target, atomically. When
// the new data is already on the disk, an existing regular file is swapped
// with the temporary one and then removed: as safe as renaming over it, but
// ext4 starts writing the whole file back on every rename that replaces a
// file, which costs several milliseconds. Unsynced data keeps the plain
// rename, so the file system's own protection of replaced files still holds.
// A directory or other non-file target makes it fail.
bool replaceFile(const char* tmp, const char* target, bool dataOnDisk) {
    struct stat st {};
    if (dataOnDisk && ::lstat(target, &st) == 0 && S_ISREG(st.st_mode) &&
        ::renameat2(AT_FDCWD, tmp, AT_FDCWD, target, RENAME_EXCHANGE) == 0) {
        ::unlink(tmp);  // the previous file, now under the temporary name
        return true;
    }
    return ::rename(tmp, target) == 0;
}

// Unlocks the record when the save leaves, whatever way it leaves.
struct Relock {
    Scenario& s;
    ~Relock() { lockdata(s, false); }
};

}  // namespace

namespace {

// Reads up to one record of the file at `path` into `into`: the bytes read,
// or -1 with errno set.
long long readRecordFile(const std::string& path, unsigned char* into) {
    // Opening without blocking: a named pipe with no writer must not hang the
    // editor. Reading then blocks as usual.
    FdCloser file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) return -1;
    struct stat st {};
    if (::fstat(file.fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return -1;
    }
    ::fcntl(file.fd, F_SETFL, ::fcntl(file.fd, F_GETFL) & ~O_NONBLOCK);
    return readFully(file.fd, into, kRecordSize);
}

}  // namespace

FileResult openScenario(const std::string& path, Scenario& s, EditorSideData& side) {
    auto buffer = std::make_unique_for_overwrite<unsigned char[]>(kRecordSize);
    const long long got = readRecordFile(path, buffer.get());
    if (got < 0) return systemError(errno);
    return openScenarioBytes(buffer.get(), static_cast<std::size_t>(got), s, side);
}

FileResult openScenarioInto(const std::string& path, Scenario& fresh, EditorSideData& side) {
    const long long got = readRecordFile(path, fresh.bytes());
    if (got < 0) return systemError(errno);
    if (got < kRecordSize) return {false, "the file is shorter than a scenario record"};
    sideDataInitialize(side);
    lockdata(fresh, false);
    return {true, {}};
}

FileResult openScenarioBytes(const unsigned char* data, std::size_t size, Scenario& s, EditorSideData& side) {
    if (size < static_cast<std::size_t>(kRecordSize)) return {false, "the file is shorter than a scenario record"};
    // Only a whole record replaces the scenario in memory. It is copied over
    // every byte, so of the whole reset only what it leaves beside the record
    // is still needed.
    sideDataInitialize(side);
    std::memcpy(s.bytes(), data, kRecordSize);
    lockdata(s, false);
    return {true, {}};
}

FileResult saveScenario(const std::string& path, Scenario& s, bool syncToDisk) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::string tmpl = (dir / (target.filename().string() + ".XXXXXX")).string();
    FdCloser tmp{::mkstemp(tmpl.data())};
    if (tmp.fd < 0) return systemError(errno);

    // Keep the permissions of the file being replaced; a new file gets the
    // usual ones for the user's umask.
    mode_t mode = 0666;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(tmp.fd, mode);

    bool written;
    {
        lockdata(s, true);
        Relock relock{s};
        written = writeFully(tmp.fd, s.bytes(), kRecordSize);
    }
    int err = written ? 0 : errno;
    if (written && syncToDisk && ::fsync(tmp.fd) != 0) {
        written = false;
        err = errno;
    }
    if (written) {
        // The descriptor is released even when close reports an error, so it
        // must not be closed a second time.
        const int fd = tmp.fd;
        tmp.fd = -1;
        if (::close(fd) != 0) {
            written = false;
            err = errno;
        }
    }
    if (!written) {
        ::unlink(tmpl.c_str());
        return systemError(err);
    }
    if (!replaceFile(tmpl.c_str(), path.c_str(), syncToDisk)) {
        err = errno;
        ::unlink(tmpl.c_str());
        return systemError(err);
    }
    if (syncToDisk) {
        // Make the new name itself durable too.
        FdCloser folder{::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
        if (folder.fd >= 0) ::fsync(folder.fd);
    }
    return {true, {}};
}

}  // namespace qrn
