// The one rule behind every numeric text box of the object pages: what a
// typed text does to the record field the box is bound to. Each box is one
// NumericRule value; the box applies the outcome (store, replace its text,
// select all) and nothing else.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qrn {

// Width and signedness of the record field behind a box; the box's bounds
// never leave what the field can hold.
enum class FieldWidth { U8, U16, I16, I32 };
std::int64_t fieldMinimum(FieldWidth w);
std::int64_t fieldMaximum(FieldWidth w);

// A word the box shows instead of a number ("無限", "全", ...). While the
// author deletes it, any non-empty leading or trailing part of it counts as
// the word too. With a value, typing the word stores that value.
struct SpecialWord {
    std::string word;  // UTF-8
    std::optional<std::int64_t> value;
};

enum class NumericFailure {
    ClearText,   // the box is emptied, the record keeps its value
    StoreValue,  // failureValue is stored (the page re-renders to show it)
    StoreValueAndText,  // failureValue is stored and failureText shown
};

struct NumericRule {
    FieldWidth width = FieldWidth::U8;
    std::optional<std::int64_t> upper;  // none: the field's maximum
    std::optional<std::int64_t> lower;  // none: the field's minimum
    std::vector<SpecialWord> words;
    NumericFailure failure = NumericFailure::ClearText;
    std::int64_t failureValue = 0;
    std::string failureText;  // UTF-8, for StoreValueAndText
    bool rerender = false;    // the page is shown again after a store

    std::int64_t upperBound() const;
    std::int64_t lowerBound() const;
};

struct NumericOutcome {
    enum class Kind {
        Nothing,    // empty text: the record keeps its value
        SelectAll,  // a special word (or part of it) without a value
        Replace,    // show `text` instead (the box runs the rule again on it)
        Store,      // store `value`
    };
    Kind kind = Kind::Nothing;
    std::int64_t value = 0;
    std::string text;  // UTF-8; for Replace, and for Store when the text changes too

    bool operator==(const NumericOutcome&) const = default;
};

// What `text` (UTF-8, as typed) does under `rule`:
// - empty: Nothing;
// - a special word or part of it: Store its value, or SelectAll;
// - an integer above the upper / below the lower bound: Replace by the bound
//   (also for digits too long to convert: the bound on their side);
// - an integer within the bounds: Store;
// - anything else: the failure action (ClearText: Replace by "";
//   StoreValue: Store; StoreValueAndText: Store with text).
NumericOutcome applyNumericText(const NumericRule& rule, std::string_view text);

// The boxes of the object pages, one description each.
namespace numericedits {
NumericRule plwondering();            // encounter probability, 0..100
NumericRule plhealing();              // healing on passing, 0..127, else 255 (全)
NumericRule pldamage();               // damage on passing, 0..127, else 255 (死)
NumericRule itmoney();                // price, 0..2^31-1, "売買不可" (0)
NumericRule itcount();                // use count, 0..250, "無限"
NumericRule itstatus();               // attack/defence/speed/healing, ±65535
NumericRule ithealmp();               // magic-power recovery, ±65535, "全" = -1
NumericRule chhealmoney();            // healer's price, 16-bit
NumericRule chpower();                // enemy hit points, 1..65535
NumericRule chstatus();               // attack, defence, speed, money, experience
NumericRule chpercent();              // drop / magic / special-attack frequency, 0..100
// The settings window and the level-up window.
NumericRule scsaleby();               // selling ratio, 1..100 ("0" becomes "1")
NumericRule hestat();                 // hero hit points, magic, strength, speed: 1..32767 (signed 16-bit)
NumericRule hemoney();                // hero money and experience, 0..2147483647
NumericRule hemaxitem();              // items carried, 1..250
NumericRule helevel();                // starting level, 1..50
NumericRule mgdownmp();               // magic-point cost, 16-bit, else "0"
NumericRule mgsuccess();              // success rate, 0..100
NumericRule mgvalue();                // damage and stat changes, 16-bit
NumericRule mghealing();              // healing, 0..65535, "全" = -1
NumericRule atexperience();           // base experience, 0..2147483647, else "0"
NumericRule atbound();                // bounds of the stat increases, 16-bit, else "0"
}  // namespace numericedits

}  // namespace qrn
