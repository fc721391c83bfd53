#include "json_writer.h"

#include <charconv>
#include <cstdint>

namespace qrn::cli {

namespace {

constexpr std::size_t kInlineNumbers = 10;  // lists up to this long stay on one line
constexpr std::size_t kNumbersPerLine = 10;
constexpr std::size_t kGridColumnWidth = 3;

class Writer {
public:
    std::string take() { return std::move(out_); }

    void value(const Json& v, int indent, int gridWidth) {
        if (v.is_object()) object(v, indent, gridWidth);
        else if (v.is_array()) array(v, indent, gridWidth);
        else scalar(v);
    }

private:
    void newline(int indent) {
        out_ += '\n';
        out_.append(static_cast<std::size_t>(indent), ' ');
    }

    void scalar(const Json& v, std::size_t padTo = 0) {
        char buf[32];
        std::to_chars_result r{buf, {}};
        if (v.is_number_unsigned()) r = std::to_chars(buf, buf + sizeof buf, v.get<std::uint64_t>());
        else if (v.is_number_integer()) r = std::to_chars(buf, buf + sizeof buf, v.get<std::int64_t>());
        else {
            out_ += v.dump();
            return;
        }
        const std::size_t n = static_cast<std::size_t>(r.ptr - buf);
        if (n < padTo) out_.append(padTo - n, ' ');
        out_.append(buf, n);
    }

    void object(const Json& v, int indent, int gridWidth) {
        if (v.empty()) {
            out_ += "{}";
            return;
        }
        if (v.contains("hex")) {  // a text kept as bytes: one line
            out_ += '{';
            bool first = true;
            for (const auto& [key, member] : v.items()) {
                if (!first) out_ += ", ";
                first = false;
                out_ += Json(key).dump();
                out_ += ": ";
                scalar(member);
            }
            out_ += '}';
            return;
        }
        // A field's layers are laid out in rows of the field's width.
        int width = gridWidth;
        if (const auto w = v.find("width"); v.contains("cells") && w != v.end() && w->is_number_integer()) {
            width = w->get<int>();
        }
        out_ += '{';
        bool first = true;
        for (const auto& [key, member] : v.items()) {
            if (!first) out_ += ',';
            first = false;
            newline(indent + 2);
            out_ += Json(key).dump();
            out_ += ": ";
            value(member, indent + 2, key == "cells" ? width : gridWidth);
        }
        newline(indent);
        out_ += '}';
    }

    void array(const Json& v, int indent, int gridWidth) {
        if (v.empty()) {
            out_ += "[]";
            return;
        }
        bool numbers = true;
        for (const Json& e : v) numbers = numbers && e.is_number();
        if (numbers && gridWidth > 0) {
            numberRows(v, indent, static_cast<std::size_t>(gridWidth), kGridColumnWidth);
        } else if (numbers && v.size() <= kInlineNumbers) {
            out_ += '[';
            for (std::size_t i = 0; i < v.size(); ++i) {
                if (i) out_ += ", ";
                scalar(v[i]);
            }
            out_ += ']';
        } else if (numbers) {
            numberRows(v, indent, kNumbersPerLine, 0);
        } else {
            out_ += '[';
            for (std::size_t i = 0; i < v.size(); ++i) {
                if (i) out_ += ',';
                newline(indent + 2);
                value(v[i], indent + 2, 0);
            }
            newline(indent);
            out_ += ']';
        }
    }

    void numberRows(const Json& v, int indent, std::size_t perLine, std::size_t padTo) {
        out_ += '[';
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (i % perLine == 0) {
                if (i) out_ += ',';
                newline(indent + 2);
            } else {
                out_ += ", ";
            }
            scalar(v[i], padTo);
        }
        newline(indent);
        out_ += ']';
    }

    std::string out_;
};

}  // namespace

std::string formatScenarioJson(const Json& doc) {
    Writer w;
    w.value(doc, 0, 0);
    std::string text = w.take();
    text += '\n';
    return text;
}

}  // namespace qrn::cli
