#include "scenario/numericrule.h"

#include <algorithm>
#include <limits>

namespace qrn {

std::int64_t fieldMinimum(FieldWidth w) {
    switch (w) {
    case FieldWidth::I16: return std::numeric_limits<std::int16_t>::min();
    case FieldWidth::I32: return std::numeric_limits<std::int32_t>::min();
    default: return 0;
    }
}

std::int64_t fieldMaximum(FieldWidth w) {
    switch (w) {
    case FieldWidth::U8: return 255;
    case FieldWidth::U16: return 65535;
    case FieldWidth::I16: return std::numeric_limits<std::int16_t>::max();
    case FieldWidth::I32: return std::numeric_limits<std::int32_t>::max();
    }
    return 0;
}

std::int64_t NumericRule::upperBound() const {
    const std::int64_t most = fieldMaximum(width);
    return upper ? std::min(*upper, most) : most;
}

std::int64_t NumericRule::lowerBound() const {
    const std::int64_t least = fieldMinimum(width);
    return lower ? std::max(*lower, least) : least;
}

namespace {

// Byte offsets of the character starts of a UTF-8 text, plus its end.
std::vector<std::size_t> characterStarts(std::string_view s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
    starts.push_back(s.size());
    return starts;
}

// The text is the word, or what is left of it while deleting from either end.
bool isPartOf(std::string_view text, std::string_view word) {
    if (text.empty()) return false;
    for (std::size_t cut : characterStarts(word)) {
        if (cut > 0 && word.substr(0, cut) == text) return true;
        if (cut < word.size() && word.substr(cut) == text) return true;
    }
    return false;
}

enum class Parse { Ok, TooLong, NotANumber };

// An optional sign followed by decimal digits, nothing else.
Parse parseInteger(std::string_view text, std::int64_t& value, bool& negative) {
    std::size_t i = 0;
    negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return Parse::NotANumber;
    std::int64_t v = 0;
    bool tooLong = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return Parse::NotANumber;
        if (v > (std::numeric_limits<std::int64_t>::max() - (c - '0')) / 10) tooLong = true;
        else v = v * 10 + (c - '0');
    }
    if (tooLong) return Parse::TooLong;
    value = negative ? -v : v;
    return Parse::Ok;
}

NumericOutcome replaceBy(std::int64_t bound) {
    return {NumericOutcome::Kind::Replace, bound, std::to_string(bound)};
}

}  // namespace

NumericOutcome applyNumericText(const NumericRule& rule, std::string_view text) {
    using Kind = NumericOutcome::Kind;
    if (text.empty()) return {};
    for (const SpecialWord& w : rule.words) {
        if (text == w.word && w.value) return {Kind::Store, *w.value, {}};
        if (isPartOf(text, w.word)) return {Kind::SelectAll, 0, {}};
    }
    std::int64_t value = 0;
    bool negative = false;
    switch (parseInteger(text, value, negative)) {
    case Parse::TooLong: return replaceBy(negative ? rule.lowerBound() : rule.upperBound());
    case Parse::NotANumber:
        switch (rule.failure) {
        case NumericFailure::ClearText: return {Kind::Replace, 0, {}};
        case NumericFailure::StoreValue: return {Kind::Store, rule.failureValue, {}};
        case NumericFailure::StoreValueAndText: return {Kind::Store, rule.failureValue, rule.failureText};
        }
        return {};
    case Parse::Ok: break;
    }
    if (value > rule.upperBound()) return replaceBy(rule.upperBound());
    if (value < rule.lowerBound()) return replaceBy(rule.lowerBound());
    return {Kind::Store, value, {}};
}

namespace numericedits {

NumericRule plwondering() { return {FieldWidth::U8, 100, {}, {}, NumericFailure::ClearText, 0, {}, false}; }

NumericRule plhealing() { return {FieldWidth::U8, 127, {}, {}, NumericFailure::StoreValue, 255, {}, true}; }

NumericRule pldamage() { return plhealing(); }

NumericRule itmoney() {
    return {FieldWidth::I32, {}, 0, {{"売買不可", {}}}, NumericFailure::StoreValue, 0, {}, true};
}

NumericRule itcount() { return {FieldWidth::U8, 250, {}, {{"無限", {}}}, NumericFailure::StoreValue, 0, {}, true}; }

NumericRule itstatus() { return {FieldWidth::I32, 65535, -65535, {{"-", {}}}, NumericFailure::ClearText, 0, {}, false}; }

NumericRule ithealmp() {
    return {FieldWidth::I32, 65535, -65535, {{"全", -1}, {"-", {}}}, NumericFailure::StoreValueAndText, -1, "全", false};
}

NumericRule chhealmoney() { return {FieldWidth::U16, 65535, {}, {}, NumericFailure::ClearText, 0, {}, false}; }

NumericRule chpower() { return {FieldWidth::U16, 65535, 1, {}, NumericFailure::ClearText, 0, {}, false}; }

NumericRule chstatus() { return chhealmoney(); }

NumericRule chpercent() { return plwondering(); }

NumericRule scsaleby() { return {FieldWidth::U8, 100, 1, {}, NumericFailure::ClearText, 0, {}, false}; }

NumericRule hestat() { return {FieldWidth::I16, 32767, 1, {}, NumericFailure::ClearText, 0, {}, false}; }

NumericRule hemoney() { return {FieldWidth::I32, {}, 0, {}, NumericFailure::ClearText, 0, {}, false}; }

NumericRule hemaxitem() { return {FieldWidth::U8, 250, 1, {}, NumericFailure::ClearText, 0, {}, false}; }

NumericRule helevel() { return {FieldWidth::U8, 50, 1, {}, NumericFailure::ClearText, 0, {}, false}; }

NumericRule mgdownmp() { return {FieldWidth::U16, 65535, {}, {}, NumericFailure::StoreValueAndText, 0, "0", false}; }

NumericRule mgsuccess() { return plwondering(); }

NumericRule mgvalue() { return chhealmoney(); }

NumericRule mghealing() {
    return {FieldWidth::I32, 65535, 0, {{"全", -1}}, NumericFailure::ClearText, 0, {}, false};
}

NumericRule atexperience() { return {FieldWidth::I32, {}, 0, {}, NumericFailure::StoreValueAndText, 0, "0", false}; }

NumericRule atbound() { return {FieldWidth::U16, 65535, {}, {}, NumericFailure::StoreValueAndText, 0, "0", false}; }

}  // namespace numericedits

}  // namespace qrn
