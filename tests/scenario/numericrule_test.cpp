// The numeric box rule: every box description against the texts an author
// types, deletes or pastes.
#include <gtest/gtest.h>

#include "scenario/numericrule.h"

namespace qrn {
namespace {

using Kind = NumericOutcome::Kind;

struct Row {
    const char* box;
    NumericRule (*rule)();
    const char* text;
    NumericOutcome expected;
};

NumericOutcome store(std::int64_t v, std::string text = {}) { return {Kind::Store, v, std::move(text)}; }
NumericOutcome replace(std::int64_t v) { return {Kind::Replace, v, std::to_string(v)}; }
NumericOutcome cleared() { return {Kind::Replace, 0, {}}; }
NumericOutcome selectAll() { return {Kind::SelectAll, 0, {}}; }
NumericOutcome nothing() { return {}; }

class NumericRuleTest : public ::testing::TestWithParam<Row> {};

TEST_P(NumericRuleTest, Outcome) {
    const Row& row = GetParam();
    EXPECT_EQ(applyNumericText(row.rule(), row.text), row.expected) << row.box << " \"" << row.text << "\"";
}

using namespace numericedits;

const Row kRows[] = {
    // encounter probability: 0..100, letters empty the box
    {"plwondering", plwondering, "", nothing()},
    {"plwondering", plwondering, "0", store(0)},
    {"plwondering", plwondering, "00", store(0)},
    {"plwondering", plwondering, "100", store(100)},
    {"plwondering", plwondering, "150", replace(100)},
    {"plwondering", plwondering, "-1", replace(0)},  // never wraps to 255
    {"plwondering", plwondering, "-", cleared()},
    {"plwondering", plwondering, "a", cleared()},
    {"plwondering", plwondering, "99999999999999999999999", replace(100)},
    // healing / damage on passing: 0..127, a non-number means 255
    {"plhealing", plhealing, "127", store(127)},
    {"plhealing", plhealing, "128", replace(127)},
    {"plhealing", plhealing, "-3", replace(0)},
    {"pldamage", pldamage, "x", store(255)},
    {"pldamage", pldamage, "死", store(255)},
    {"plhealing", plhealing, "全", store(255)},
    // price: 0 up to 32-bit, the word and its parts are left alone
    {"itmoney", itmoney, "売買不可", selectAll()},
    {"itmoney", itmoney, "売買不", selectAll()},
    {"itmoney", itmoney, "売買", selectAll()},
    {"itmoney", itmoney, "売", selectAll()},
    {"itmoney", itmoney, "買不可", selectAll()},
    {"itmoney", itmoney, "不可", selectAll()},
    {"itmoney", itmoney, "可", selectAll()},
    {"itmoney", itmoney, "買不", store(0)},  // not what deleting leaves: not a number
    {"itmoney", itmoney, "2147483647", store(2147483647)},
    {"itmoney", itmoney, "2147483648", replace(2147483647)},
    {"itmoney", itmoney, "-5", replace(0)},  // pasted: no negative price, as a typed "-"
    {"itmoney", itmoney, "-2147483649", replace(0)},
    {"itmoney", itmoney, "99999999999999999999", replace(2147483647)},
    {"itmoney", itmoney, "1x", store(0)},
    // use count: 0..250, "無限"
    {"itcount", itcount, "無限", selectAll()},
    {"itcount", itcount, "無", selectAll()},
    {"itcount", itcount, "限", selectAll()},
    {"itcount", itcount, "251", replace(250)},
    {"itcount", itcount, "-1", replace(0)},
    {"itcount", itcount, "?", store(0)},
    // attack, defence, speed, healing: ±65535, a lone minus waits for digits
    {"itstatus", itstatus, "-", selectAll()},
    {"itstatus", itstatus, "-65535", store(-65535)},
    {"itstatus", itstatus, "-65536", replace(-65535)},
    {"itstatus", itstatus, "65536", replace(65535)},
    {"itstatus", itstatus, "abc", cleared()},
    // magic-power recovery: "全" is -1, other text becomes "全"
    {"ithealmp", ithealmp, "全", store(-1)},
    {"ithealmp", ithealmp, "-", selectAll()},
    {"ithealmp", ithealmp, "12", store(12)},
    {"ithealmp", ithealmp, "70000", replace(65535)},
    {"ithealmp", ithealmp, "q", store(-1, "全")},
    // character boxes
    {"chhealmoney", chhealmoney, "65536", replace(65535)},
    {"chhealmoney", chhealmoney, "-5", replace(0)},
    {"chhealmoney", chhealmoney, "z", cleared()},
    {"chpower", chpower, "0", replace(1)},
    {"chpower", chpower, "-7", replace(1)},
    {"chpower", chpower, "65535", store(65535)},
    {"chpower", chpower, "65536", replace(65535)},
    {"chstatus", chstatus, "300", store(300)},
    {"chstatus", chstatus, "-1", replace(0)},
    {"chpercent", chpercent, "101", replace(100)},
    {"chpercent", chpercent, "50", store(50)},
};

INSTANTIATE_TEST_SUITE_P(EveryBox, NumericRuleTest, ::testing::ValuesIn(kRows));

TEST(NumericRuleBounds, NeverBeyondTheField) {
    NumericRule wide;
    wide.upper = 1000;
    wide.lower = -1000;
    EXPECT_EQ(wide.upperBound(), 255);
    EXPECT_EQ(wide.lowerBound(), 0);
    NumericRule i16;
    i16.width = FieldWidth::I16;
    EXPECT_EQ(applyNumericText(i16, "40000"), replace(32767));
    EXPECT_EQ(applyNumericText(i16, "-40000"), replace(-32768));
}

}  // namespace
}  // namespace qrn
