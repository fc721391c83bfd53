#include "joinfiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

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

bool ResourceFolder::read(std::string_view name, std::string& bytes, std::string* shown, std::size_t maxBytes) {
    const auto path = find(name);
    if (shown) *shown = path ? *path : spelt(name);
    if (!path) {
        bytes.clear();
        return false;
    }
    // Not blocked by a pipe put where a file is expected.
    const int fd = ::open(path->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        bytes.clear();
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        ::close(fd);
        bytes.clear();
        return false;
    }
    // A regular file reads alike with or without O_NONBLOCK, so it stays set.
    // The size the file had when opened is read; a file that tells no size
    // (some special file systems) is read to its end, within the limit.
    const bool sized = st.st_size > 0;
    // One byte past the limit tells a file that is too large.
    const std::size_t cap = maxBytes == static_cast<std::size_t>(-1) ? maxBytes : maxBytes + 1;
    // Read into the string's own storage: a caller that reads file after
    // file into one string neither allocates nor clears memory again for a
    // file no larger than the one before.
    std::size_t want = sized ? static_cast<std::size_t>(st.st_size) : std::min<std::size_t>(65536, cap);
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

bool writeWholeFile(const std::string& path, std::string_view bytes) {
    // Written beside the target and renamed over it, so a write that fails
    // part-way (a full disk, the file size limit) leaves any earlier file of
    // that name whole rather than cut off. The temporary name is new
    // (O_EXCL, links not followed) and the process's umask gives the mode, so
    // one call makes the file.
    static std::uint64_t counter = 0;
    static const auto seed = static_cast<std::uint64_t>(::getpid()) << 32 ^
                             static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        std::uint64_t mix = (seed + ++counter) * 0x9E3779B97F4A7C15ull;
        char suffix[8] = {'.', 0, 0, 0, 0, 0, 0, 0};
        for (int i = 1; i < 7; ++i, mix >>= 6)
            suffix[i] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-"[mix & 63];
        tmp = path + suffix;
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    std::size_t done = 0;
    int err = 0;
    while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            err = w < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(w);
    }
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(tmp.c_str());
        errno = err;
        return false;
    }
    return true;
}

namespace {

const char* const kNotFound = "が見つからないか、開けません。";

// One join run: the output folder, the resource lookup and the hooks.
class Joiner {
public:
    Joiner(const Scenario& s, const JoinRequest& r, const JoinHooks& h, std::string out)
        : s_(s), request_(r), hooks_(h), out_(std::move(out)), ownResources_(r.resourceFolder),
          resources_(r.resources ? *r.resources : ownResources_) {}

    JoinResult run();

private:
    bool write(const std::string& path, std::string_view bytes) {
        if (writeWholeFile(path, bytes)) return true;
        result_ = {JoinStatus::Failed, path, std::strerror(errno)};
        return false;
    }
    void warn(const std::string& utf8) {
        if (hooks_.warn) hooks_.warn(utf8);
    }
    void step() {
        ++done_;
        if (hooks_.progress) hooks_.progress(done_, total_);
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
    std::string shownPath(std::string_view cp932Name) const { return resources_.spelt(utf8(cp932Name)); }

    const Scenario& s_;
    const JoinRequest& request_;
    const JoinHooks& hooks_;
    std::string out_;
    ResourceFolder ownResources_;
    ResourceFolder& resources_;
    JoinResult result_;
    std::map<std::string, std::string> datSources_;  // base.DAT -> the stored name copied there
    std::string buffer_;                             // the source being copied
    int done_ = 0;
    int total_ = 0;
};

bool Joiner::copyBitmap(const ShortString255& name, const std::string& what) {
    const std::string dat = datName(name.view());
    auto [pos, added] = datSources_.emplace(dat, name.str());
    if (!added && pos->second != name.view()) {
        warn(utf8(pos->second) + " と " + utf8(name.view()) + " はどちらも " + utf8(dat) +
             " として出力されるため、後のファイルが先のファイルを置き換えます。");
    }
    std::string* bytes = source(name.view());
    if (!bytes) {
        warn(utf8(what) + shownPath(name.view()) + kNotFound);
        return true;
    }
    bytes->replace(0, std::min<std::size_t>(2, bytes->size()), "..", std::min<std::size_t>(2, bytes->size()));
    // A plain name (checked by source()) keeps its base plain.
    return write((fs::path(out_) / utf8(dat)).string(), *bytes);
}

bool Joiner::copyFile(const ShortString255& name, const std::string& what) {
    const std::string* bytes = source(name.view());
    if (!bytes) {
        warn(utf8(what) + shownPath(name.view()) + kNotFound);
        return true;
    }
    return write((fs::path(out_) / utf8(name.view())).string(), *bytes);
}

JoinResult Joiner::run() {
    const std::string& n = request_.name;
    const std::vector<LargeBitmap> large = largeBitmaps(s_);
    total_ = 1 + static_cast<int>(large.size()) + kSoundCount + kBgmCount + 3;

    // The picture sheet.
    const ChipAssignment chips = assignChips(s_);
    if (chips.overflow > 0)
        warn("画像ファイルが 900 種類を超えています。残りの " + std::to_string(chips.overflow) +
             " 種類の画像は結合されません。");
    std::string sheet = hooks_.drawSheet ? hooks_.drawSheet(chips) : std::string();
    if (sheet.size() < 2) return {JoinStatus::Failed, joinOutputPath(out_, n, ".CHP"), "the picture sheet could not be drawn"};
    sheet[0] = sheet[1] = '.';
    if (!write(joinOutputPath(out_, n, ".CHP"), sheet)) return result_;
    step();

    // The large bitmaps: characters and events in one pass, then the title
    // and ending screens, then the sounds and music, then wall and opening.
    for (const LargeBitmap& b : large) {
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
            if (!copyBitmap(*b.name, what)) return result_;
        }
        step();
    }
    for (int k = 0; k < 50; ++k) {
        const SoundDef& sound = s_.sounds[k];
        if (!sound.fileName.empty() &&
            !copyFile(sound.fileName, cut(cut(lit("効果音 ") + sound.name.str(), 39) + lit(" の "), 43)))
            return result_;
        step();
        const BgmDef& bgm = s_.bgms[k];
        if (!bgm.fileName.empty() && !copyFile(bgm.fileName, cut(cut("BGM " + bgm.name.str(), 36) + lit(" の "), 40)))
            return result_;
        step();
    }
    if (!s_.settings.scwallbmp.empty() && !copyBitmap(s_.settings.scwallbmp, lit("ｼﾅﾘｵのﾊﾟﾈﾙｲﾒｰｼﾞ ")))
        return result_;
    step();
    if (!s_.settings.scopeningbmp.empty() && !copyBitmap(s_.settings.scopeningbmp, lit("ｼﾅﾘｵのｵｰﾌﾟﾆﾝｸﾞｲﾒｰｼﾞ ")))
        return result_;
    step();

    if (!write(joinOutputPath(out_, n, ".LCT"), cellList(s_))) return result_;
    step();
    auto record = std::make_unique_for_overwrite<RunnerRecord>();
    fillRunnerRecord(s_, chips.tables, *record);
    if (!write(joinOutputPath(out_, n, ".DST"),
               std::string_view(reinterpret_cast<const char*>(record.get()), sizeof(RunnerRecord))))
        return result_;
    step();
    if (!write(joinOutputPath(out_, n, ".TXT"), fileList(s_, n))) return result_;
    step();
    return result_;
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
