#include "cliutil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "scenario/scenariofile.h"
#include "scenario/text.h"

namespace qrn::cli {

int fail(int code, std::string_view message) {
    std::fprintf(stderr, "quorantel-cli: %.*s\n", static_cast<int>(message.size()), message.data());
    return code;
}

void tellLine(std::string_view utf8) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(utf8.size()), utf8.data());
}

Scenario& ScenarioDoc::s() {
    if (!scenario_) scenario_ = std::make_unique<Scenario>();
    return *scenario_;
}

void ScenarioDoc::reset() { alldatainitialize(s(), side_); }

int ScenarioDoc::load(const std::string& path) {
    // Zeroing 4.5 MB only to overwrite it is a good part of a quick command.
    const bool fresh = !scenario_;
    if (fresh) scenario_ = std::make_unique_for_overwrite<Scenario>();
    const FileResult r =
        fresh ? openScenarioInto(path, *scenario_, side_) : openScenario(path, *scenario_, side_);
    if (!r.ok) {
        scenario_.reset();  // nothing half-read stays behind
        return fail(kExitIo, "cannot open " + path + ": " + r.error);
    }
    return kExitOk;
}

int ScenarioDoc::save(const std::string& path) {
    const FileResult r = saveScenario(path, s());
    if (!r.ok) return fail(kExitIo, "cannot save " + path + ": " + r.error);
    return kExitOk;
}

std::string ParsedArgs::value(std::string_view option, std::string_view fallback) const {
    const auto it = options.find(option);
    return it != options.end() ? it->second : std::string(fallback);
}

std::string resourceFolderOf(const ParsedArgs& parsed, const std::string& file) {
    if (parsed.has("--resources")) return parsed.value("--resources");
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

int parseArgs(const Args& args, std::initializer_list<std::string_view> known,
              std::size_t minPositional, std::size_t maxPositional, std::string_view usage,
              ParsedArgs& out) {
    const auto usageError = [&](const std::string& why) {
        return fail(kExitUsage, why + " (usage: quorantel-cli " + std::string(usage) + ")");
    };
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // A lone "-" or a negative number is an argument, not an option.
        const bool looksLikeOption = a.size() >= 2 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9');
        if (optionsEnded || !looksLikeOption) {
            out.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = a;
        std::optional<std::string> value;
        if (const auto eq = a.find('='); a.starts_with("--") && eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
        }
        bool isKnown = false;
        for (std::string_view k : known) isKnown = isKnown || k == name;
        if (!isKnown) return usageError("unknown option " + name);
        if (!value) {
            if (i + 1 >= args.size()) return usageError("option " + name + " needs a value");
            value = args[++i];
        }
        if (out.options.count(name)) return usageError("option " + name + " given twice");
        out.options.emplace(name, std::move(*value));
    }
    if (out.positional.size() < minPositional) return usageError("missing arguments");
    if (out.positional.size() > maxPositional) return usageError("too many arguments");
    return kExitOk;
}

std::optional<long long> parseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

int toCp932(std::string_view utf8, std::string_view what, std::string& cp932) {
    auto converted = utf8ToCp932(utf8);
    if (!converted) {
        return fail(kExitUsage, std::string(what) + ": \"" + std::string(utf8) +
                                    "\" cannot be written in cp932");
    }
    cp932 = std::move(*converted);
    return kExitOk;
}

std::string toUtf8(std::string_view cp932) { return cp932ToUtf8Lossy(cp932); }

int writeFileAtomically(const std::string& path, std::string_view content) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::string tmp = (dir / (target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmp.data());
    const auto failWithErrno = [&](int err) {
        return fail(kExitIo, "cannot write " + path + ": " + std::strerror(err));
    };
    if (fd < 0) return failWithErrno(errno);
    // mkstemp creates the file 0600; give it the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    const char* p = content.data();
    std::size_t left = content.size();
    int err = 0;
    while (left > 0 && err == 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(tmp.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(tmp.c_str());
        return failWithErrno(err);
    }
    return kExitOk;
}

}  // namespace qrn::cli
