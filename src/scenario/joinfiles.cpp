#include "joinfiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>

#include "text.h"

namespace qrn {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string utf8(std::string_view cp932) { return cp932ToUtf8Lossy(cp932); }
std::string lit(std::string_view utf8) { return cp932Literal(utf8); }
std::string cut(std::string_view cp932, std::size_t n) { return std::string(cutCp932(cp932, n)); }

}  // namespace

bool plainFileName(std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos || name.find('\\') != std::string_view::npos ||
        name.find("..") != std::string_view::npos)
        return false;
    return !(name.size() >= 2 && name[1] == ':');  // a drive letter makes it absolute elsewhere
}

ResourceFolder::ResourceFolder(std::string folder) : folder_(std::move(folder)) {}

std::string ResourceFolder::spelt(std::string_view name) const {
    if (folder_.empty() || folder_.back() == '/') return folder_ + std::string(name);
    return folder_ + "/" + std::string(name);
}

void ResourceFolder::list() {
    listed_ = true;
    names_.clear();
    byLowerName_.clear();
    const std::string dirPath = folder_.empty() ? std::string(".") : folder_;
    const int fd = ::open(dirPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) == 0) {
        listedSec_ = st.st_ctim.tv_sec;
        listedNsec_ = st.st_ctim.tv_nsec;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    while (const dirent* e = ::readdir(dir)) {
        // The listing tells regular files apart; only links and file systems
        // that do not say are asked about the entry.
        bool regular = e->d_type == DT_REG;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat target {};
            regular = ::fstatat(fd, e->d_name, &target, 0) == 0 && S_ISREG(target.st_mode);
        }
        if (!regular) continue;
        std::string entry(e->d_name);
        // The lowest spelling keeps the choice among case variants stable.
        auto [pos, added] = byLowerName_.emplace(lower(entry), entry);
        if (!added && entry < pos->second) pos->second = entry;
        names_.insert(std::move(entry));
    }
    ::closedir(dir);
}

void ResourceFolder::refresh() {
    if (!listed_) return;
    struct stat st {};
    const std::string dirPath = folder_.empty() ? std::string(".") : folder_;
    if (::stat(dirPath.c_str(), &st) != 0 || st.st_ctim.tv_sec != listedSec_ || st.st_ctim.tv_nsec != listedNsec_)
        listed_ = false;
}

std::optional<std::string> ResourceFolder::find(std::string_view name) {
    if (!plainFileName(name)) return std::nullopt;
    if (!listed_) list();
    if (names_.count(std::string(name))) return spelt(name);
    const auto found = byLowerName_.find(lower(name));
    if (found == byLowerName_.end()) return std::nullopt;
    return spelt(found->second);
}

int ResourceFolder::open(std::string_view name, std::uintmax_t& size, std::string* shown) {
    const auto path = find(name);
    if (shown) *shown = path ? *path : spelt(name);
    if (!path) return -1;
    // Not blocked by a pipe put where a file is expected.
    const int fd = ::open(path->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = static_cast<std::uintmax_t>(st.st_size);
    return fd;
}

bool ResourceFolder::read(std::string_view name, std::string& bytes, std::string* shown, std::size_t maxBytes) {
    std::uintmax_t size = 0;
    const int fd = open(name, size, shown);
    if (fd < 0 || size > maxBytes) {
        if (fd >= 0) ::close(fd);
        bytes.clear();
        return false;
    }
    // A regular file reads alike with or without O_NONBLOCK, so it stays set.
    // The size the file had when opened is read; a file that tells no size
    // (some special file systems) is read to its end, within the limit.
    const bool sized = size > 0;
    // One byte past the limit tells a file that is too large.
    const std::size_t cap = maxBytes == static_cast<std::size_t>(-1) ? maxBytes : maxBytes + 1;
    // Read into the string's own storage: a caller that reads file after
    // file into one string neither allocates nor clears memory again for a
    // file no larger than the one before.
    std::size_t want = sized ? static_cast<std::size_t>(size) : std::min<std::size_t>(65536, cap);
    if (bytes.size() < want) bytes.resize(want);
    std::size_t got = 0;
    bool ok = true;
    while (got < want) {
        const ssize_t r = ::read(fd, bytes.data() + got, want - got);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            ok = false;
            break;
        }
        if (r == 0) break;
        got += static_cast<std::size_t>(r);
        if (!sized && got == want && want < cap) {
            want = std::min(cap, want * 2);
            if (bytes.size() < want) bytes.resize(want);
        }
    }
    if (got > maxBytes) ok = false;
    bytes.resize(got);
    if (::close(fd) != 0) ok = false;
    if (!ok) bytes.clear();
    return ok;
}

std::optional<std::string> usableOutputFolder(const std::string& folder) {
    if (folder.empty()) return std::nullopt;
    std::error_code ec;
    const fs::path abs = fs::absolute(fs::path(folder), ec);
    if (ec) return std::nullopt;
    struct stat st {};
    if (::stat(abs.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    if (::access(abs.c_str(), W_OK | X_OK) != 0) return std::nullopt;
    return abs.string();
}

bool validJoinName(std::string_view name) {
    if (name.find('/') != std::string_view::npos || name.find('\\') != std::string_view::npos) return false;
    return !delext(name).empty();
}

std::string joinOutputPath(const std::string& folder, std::string_view name, std::string_view extension) {
    return (fs::path(folder) / (utf8(name) + std::string(extension))).string();
}

WholeFileWriter::~WholeFileWriter() { discard(); }

namespace {

// A name beside `path` that no file has yet, for writing before the rename.
std::string temporaryName(const std::string& path) {
    static std::atomic<std::uint64_t> counter = 0;
    static const auto seed = static_cast<std::uint64_t>(::getpid()) << 32 ^
                             static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t mix = (seed + ++counter) * 0x9E3779B97F4A7C15ull;
    char suffix[8] = {'.', 0, 0, 0, 0, 0, 0, 0};
    for (int i = 1; i < 7; ++i, mix >>= 6)
        suffix[i] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-"[mix & 63];
    return path + suffix;
}

// An unnamed file is given its name through /proc; without it, files are
// written under a temporary name.
bool canNameUnnamedFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

std::string descriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

}  // namespace

void WholeFileWriter::discard() {
    if (fd_ < 0) return;
    const int err = errno;
    ::close(fd_);
    if (!tmp_.empty()) ::unlink(tmp_.c_str());
    fd_ = -1;
    errno = err;
}

bool WholeFileWriter::open(const std::string& path) {
    discard();
    path_ = path;
    tmp_.clear();
    // Where the file system allows, the file has no name until it is whole
    // (one directory change instead of two, and nothing left behind by a
    // crash); the process's umask gives the mode, so one call makes it.
    if (canNameUnnamedFiles()) {
        const fs::path folder = fs::path(path).parent_path();
        fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ >= 0) return true;
    }
    // Otherwise a new temporary name (O_EXCL, links not followed).
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        tmp_ = temporaryName(path);
        fd_ = ::open(tmp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST) return false;
    }
    return fd_ >= 0;
}

bool WholeFileWriter::append(std::string_view bytes) {
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            if (w == 0) errno = EIO;
            discard();
            return false;
        }
        done += static_cast<std::size_t>(w);
    }
    return true;
}

bool WholeFileWriter::appendFrom(int source, std::uintmax_t offset, std::uintmax_t length) {
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    auto at = static_cast<off_t>(offset);
    bool inKernel = true;
    std::vector<char> buffer;
    while (length > 0) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uintmax_t>(length, std::uintmax_t{1} << 30));
        ssize_t n = -1;
        if (inKernel) {
            n = ::copy_file_range(source, &at, fd_, nullptr, want, 0);
            // File systems that cannot copy between these two files say so
            // before anything is copied: the bytes then pass through here.
            if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                inKernel = false;
                continue;
            }
        } else {
            if (buffer.empty()) buffer.resize(std::size_t{1} << 16);
            n = ::pread(source, buffer.data(), std::min(want, buffer.size()), at);
            if (n > 0) {
                if (!append(std::string_view(buffer.data(), static_cast<std::size_t>(n)))) return false;
                at += n;
            }
        }
        if (n == 0) return true;  // the source ended early
        if (n < 0) {
            if (errno == EINTR) continue;
            discard();
            return false;
        }
        length -= static_cast<std::uintmax_t>(n);
    }
    return true;
}

bool WholeFileWriter::commit() {
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    int err = 0;
    if (tmp_.empty()) {
        // The unnamed file takes the target's name, or, when a file has it
        // already, a temporary one that is then renamed over it.
        const std::string self = descriptorPath(fd_);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            const int fd = fd_;
            fd_ = -1;
            if (::close(fd) == 0) return true;
            err = errno;
            ::unlink(path_.c_str());
            errno = err;
            return false;
        }
        if (errno != EEXIST) {
            discard();
            return false;
        }
        for (int attempt = 0; attempt < 100 && tmp_.empty(); ++attempt) {
            std::string name = temporaryName(path_);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                tmp_ = std::move(name);
            else if (errno != EEXIST)
                break;
        }
        if (tmp_.empty()) {
            discard();
            return false;
        }
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) err = errno;
    if (err == 0 && ::rename(tmp_.c_str(), path_.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(tmp_.c_str());
        errno = err;
        return false;
    }
    return true;
}

bool writeWholeFile(const std::string& path, std::string_view bytes) {
    WholeFileWriter file;
    return file.open(path) && file.append(bytes) && file.commit();
}

namespace {

const char* const kNotFound = "が見つからないか、開けません。";

// One join run: the output folder, the resource lookup and the hooks. The
// picture sheet is drawn on the caller's thread (the hook may use the
// caller's pictures and windows) while every other file is copied or
// written on a second thread, so that decoding and drawing overlap the file
// work. The copier's warnings and progress reach the hooks on the caller's
// thread, after the sheet's and in file order.
class Joiner {
public:
    Joiner(const Scenario& s, const JoinRequest& r, const JoinHooks& h, std::string out)
        : s_(s), request_(r), hooks_(h), out_(std::move(out)), ownResources_(r.resourceFolder),
          resources_(r.resources ? *r.resources : ownResources_) {}

    JoinResult run();

private:
    // ---- the copier's thread
    // Everything after the sheet, in file order; false at the first file
    // that could not be written (copyResult_ names it) or when stopped.
    bool copyAll();
    bool write(const std::string& path, std::string_view bytes) {
        if (writeWholeFile(path, bytes)) return true;
        copyResult_ = {JoinStatus::Failed, path, std::strerror(errno)};
        return false;
    }
    bool writeCellListFile(const std::string& path);
    void warn(std::string utf8) {
        const std::lock_guard lock(mutex_);
        pendingWarnings_.push_back(std::move(utf8));
        changed_.notify_one();
    }
    void step() {
        const std::lock_guard lock(mutex_);
        ++copied_;
        changed_.notify_one();
    }
    // The source content of a stored name, or null (missing, unsafe,
    // unreadable); valid until the next call, as every source is read into
    // the same buffer.
    std::string* source(std::string_view cp932Name) {
        const auto utf8 = cp932ToUtf8(cp932Name);
        if (!utf8 || !resources_.read(*utf8, buffer_)) return nullptr;
        return &buffer_;
    }
    // The copy of a large bitmap as base.DAT with ".." as its first bytes;
    // false only when writing failed. `what` is the warning's head (cp932).
    bool copyBitmap(const ShortString255& name, const std::string& what);
    bool copyFile(const ShortString255& name, const std::string& what);
    // Copies the source of a stored name to `target` with its first `dots`
    // bytes written as '.'; a missing or unreadable source warns.
    bool copySource(const ShortString255& name, const std::string& what, const std::string& target,
                    std::size_t dots);
    std::string shownPath(std::string_view cp932Name) const { return resources_.spelt(utf8(cp932Name)); }

    // ---- the caller's thread
    // Hands the copier's warnings and progress to the hooks until it ends.
    void followCopier(int sheetSteps);

    const Scenario& s_;
    const JoinRequest& request_;
    const JoinHooks& hooks_;
    std::string out_;
    ResourceFolder ownResources_;
    ResourceFolder& resources_;
    int total_ = 0;
    const ChipAssignment* chips_ = nullptr;

    // Owned by the copier until it ends.
    JoinResult copyResult_;
    std::map<std::string, std::string> datSources_;  // base.DAT -> the stored name copied there
    std::string buffer_;                             // the source being copied

    std::atomic<bool> stop_ = false;  // the sheet failed: the copier stops at the next file
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> pendingWarnings_;  // under mutex_
    int copied_ = 0;                            // under mutex_
    bool copierDone_ = false;                   // under mutex_
};

bool Joiner::copyBitmap(const ShortString255& name, const std::string& what) {
    if (stop_) return false;
    const std::string dat = datName(name.view());
    auto [pos, added] = datSources_.emplace(dat, name.str());
    if (!added && pos->second != name.view()) {
        warn(utf8(pos->second) + " と " + utf8(name.view()) + " はどちらも " + utf8(dat) +
             " として出力されるため、後のファイルが先のファイルを置き換えます。");
    }
    // A plain name (checked when looked up) keeps its base plain.
    return copySource(name, what, (fs::path(out_) / utf8(dat)).string(), kRunnerMarkLength);
}

bool Joiner::copyFile(const ShortString255& name, const std::string& what) {
    if (stop_) return false;
    return copySource(name, what, (fs::path(out_) / utf8(name.view())).string(), 0);
}

bool Joiner::copySource(const ShortString255& name, const std::string& what, const std::string& target,
                        std::size_t dots) {
    const auto utf8Name = cp932ToUtf8(name.view());
    std::uintmax_t size = 0;
    const int fd = utf8Name ? resources_.open(*utf8Name, size) : -1;
    if (fd < 0) {
        warn(utf8(what) + shownPath(name.view()) + kNotFound);
        return true;
    }
    // The size the file has when opened is copied, its first `dots` bytes
    // written here and the rest copied by the kernel, without passing
    // through this process.
    bool copied = false;
    if (size > 0) {
        const std::size_t marked = static_cast<std::size_t>(std::min<std::uintmax_t>(dots, size));
        WholeFileWriter file;
        copied = file.open(target) && file.append(std::string(marked, '.')) &&
                 file.appendFrom(fd, marked, size - marked) && file.commit();
    }
    ::close(fd);
    if (copied) return true;
    // An empty or sizeless file (some special file systems), or one whose
    // copy failed: read it whole, so that a source that cannot be read
    // warns and one that can is written from memory.
    std::string* bytes = source(name.view());
    if (!bytes) {
        warn(utf8(what) + shownPath(name.view()) + kNotFound);
        return true;
    }
    bytes->replace(0, std::min(dots, bytes->size()), std::min(dots, bytes->size()), '.');
    return write(target, *bytes);
}

bool Joiner::writeCellListFile(const std::string& path) {
    if (stop_) return false;
    WholeFileWriter file;
    const bool written = file.open(path) &&
                         writeCellList(s_, [&file](std::string_view piece) { return file.append(piece); }) &&
                         file.commit();
    if (!written) copyResult_ = {JoinStatus::Failed, path, std::strerror(errno)};
    return written;
}

bool Joiner::copyAll() {
    const std::string& n = request_.name;
    // The large bitmaps: characters and events in one pass, then the title
    // and ending screens, then the sounds and music, then wall and opening.
    for (const LargeBitmap& b : largeBitmaps(s_)) {
        if (b.kind == LargeBitmapKind::Wall) break;
        if (!b.name->empty()) {
            std::string what;
            switch (b.kind) {
                case LargeBitmapKind::Battle:
                    what = cut(cut(lit("ｷｬﾗｸﾀｰ ") + s_.charas[b.number - 1].name.str(), 39) + lit("のﾊﾞﾄﾙｲﾒｰｼﾞ "), 51);
                    break;
                case LargeBitmapKind::Prologue:
                    what = cut(s_.events[b.number - 1].name.str() + lit("のﾌﾟﾛﾛｰｸﾞｲﾒｰｼﾞ "), 47);
                    break;
                case LargeBitmapKind::Epilogue:
                    what = cut(s_.events[b.number - 1].name.str() + lit("のｴﾋﾟﾛｰｸﾞｲﾒｰｼﾞ "), 47);
                    break;
                case LargeBitmapKind::Title:
                    what = lit("ｼﾅﾘｵのﾀｲﾄﾙｲﾒｰｼﾞ 画面") + std::to_string(b.number) + " ";
                    break;
                default:
                    what = lit("ｼﾅﾘｵのｴﾝﾃﾞｨﾝｸﾞｲﾒｰｼﾞ 画面") + std::to_string(b.number) + " ";
                    break;
            }
            if (!copyBitmap(*b.name, what)) return false;
        }
        step();
    }
    for (int k = 0; k < 50; ++k) {
        const SoundDef& sound = s_.sounds[k];
        if (!sound.fileName.empty() &&
            !copyFile(sound.fileName, cut(cut(lit("効果音 ") + sound.name.str(), 39) + lit(" の "), 43)))
            return false;
        step();
        const BgmDef& bgm = s_.bgms[k];
        if (!bgm.fileName.empty() && !copyFile(bgm.fileName, cut(cut("BGM " + bgm.name.str(), 36) + lit(" の "), 40)))
            return false;
        step();
    }
    if (!s_.settings.scwallbmp.empty() && !copyBitmap(s_.settings.scwallbmp, lit("ｼﾅﾘｵのﾊﾟﾈﾙｲﾒｰｼﾞ ")))
        return false;
    step();
    if (!s_.settings.scopeningbmp.empty() && !copyBitmap(s_.settings.scopeningbmp, lit("ｼﾅﾘｵのｵｰﾌﾟﾆﾝｸﾞｲﾒｰｼﾞ ")))
        return false;
    step();

    if (!writeCellListFile(joinOutputPath(out_, n, ".LCT"))) return false;
    step();
    auto record = std::make_unique_for_overwrite<RunnerRecord>();
    fillRunnerRecord(s_, chips_->tables, *record);
    if (!write(joinOutputPath(out_, n, ".DST"),
               std::string_view(reinterpret_cast<const char*>(record.get()), sizeof(RunnerRecord))))
        return false;
    step();
    if (!write(joinOutputPath(out_, n, ".TXT"), fileList(s_, n))) return false;
    step();
    return true;
}

void Joiner::followCopier(int sheetSteps) {
    std::unique_lock lock(mutex_);
    int reported = -1;
    for (;;) {
        changed_.wait(lock, [&] { return copierDone_ || !pendingWarnings_.empty() || copied_ != reported; });
        std::vector<std::string> warnings;
        warnings.swap(pendingWarnings_);
        const int copied = copied_;
        const bool done = copierDone_;
        lock.unlock();
        for (const std::string& w : warnings)
            if (hooks_.warn) hooks_.warn(w);
        if (copied != reported && hooks_.progress) hooks_.progress(sheetSteps + copied, total_);
        reported = copied;
        if (done) return;
        lock.lock();
    }
}

JoinResult Joiner::run() {
    const std::string& n = request_.name;
    total_ = 1 + static_cast<int>(largeBitmaps(s_).size()) + kSoundCount + kBgmCount + 3;
    const ChipAssignment chips = assignChips(s_);
    chips_ = &chips;

    // Listed before the copier starts, so that both threads only read it.
    resources_.ensureListed();
    std::thread copier([this] {
        bool ok = false;
        try {
            ok = copyAll();
        } catch (const std::exception& e) {  // out of memory
            copyResult_ = {JoinStatus::Failed, out_, e.what()};
        }
        if (!ok && copyResult_.status == JoinStatus::Done)
            copyResult_ = {JoinStatus::Failed, out_, "stopped"};
        const std::lock_guard lock(mutex_);
        copierDone_ = true;
        changed_.notify_one();
    });

    // The picture sheet.
    JoinResult sheetResult;
    try {
        const std::string path = joinOutputPath(out_, n, ".CHP");
        if (hooks_.writeSheet) {
            if (!hooks_.writeSheet(chips, path)) sheetResult = {JoinStatus::Failed, path, "the picture sheet could not be drawn"};
        } else {
            std::string sheet = hooks_.drawSheet ? hooks_.drawSheet(chips) : std::string();
            if (sheet.size() < kRunnerMarkLength) {
                sheetResult = {JoinStatus::Failed, path, "the picture sheet could not be drawn"};
            } else {
                markRunnerBitmap(sheet);
                if (!writeWholeFile(path, sheet)) sheetResult = {JoinStatus::Failed, path, std::strerror(errno)};
            }
        }
        if (chips.overflow > 0 && hooks_.warn)
            hooks_.warn("画像ファイルが 900 種類を超えています。残りの " + std::to_string(chips.overflow) +
                        " 種類の画像は結合されません。");
    } catch (...) {
        stop_ = true;
        copier.join();
        throw;
    }
    if (sheetResult.status != JoinStatus::Done) {
        // Nothing after a file that failed is reported, as when the files
        // are written one after the other.
        stop_ = true;
        copier.join();
        return sheetResult;
    }
    followCopier(1);
    copier.join();
    return copyResult_;
}

}  // namespace

JoinResult joinScenario(const Scenario& s, const JoinRequest& request, const JoinHooks& hooks) {
    const auto out = usableOutputFolder(request.outputFolder);
    if (!out) return {JoinStatus::BadFolder, request.outputFolder, {}};
    if (!validJoinName(request.name) || delext(request.name) != request.name)
        return {JoinStatus::BadName, {}, {}};
    Joiner joiner(s, request, hooks, *out);
    return joiner.run();
}

}  // namespace qrn
