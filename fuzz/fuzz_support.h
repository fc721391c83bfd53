// Shared by the fuzz targets: a scratch file the input is written to, for the
// loaders that read from a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace qrn::fuzz {

// A per-process scratch folder in memory when the system offers one.
inline const std::string& scratchFolder() {
    static const std::string folder = [] {
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string f = base + "/qrn-fuzz-" + std::to_string(getpid());
        std::string cmd = "mkdir -p '" + f + "'";
        if (std::system(cmd.c_str()) != 0) return base;
        return f;
    }();
    return folder;
}

// Writes the bytes to `name` in the scratch folder; returns its path.
inline std::string writeScratch(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchFolder() + "/" + name;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

// Reads little pieces of the input in turn; zeros once it runs out.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t u8() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint16_t u16() { return static_cast<std::uint16_t>(u8() | u8() << 8); }
    std::uint32_t u32() { return u16() | static_cast<std::uint32_t>(u16()) << 16; }
    std::size_t left() const { return size_ - pos_; }
    const std::uint8_t* here() const { return data_ + pos_; }
    void skip(std::size_t n) { pos_ += n < left() ? n : left(); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace qrn::fuzz
