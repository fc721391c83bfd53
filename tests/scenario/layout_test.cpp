#include <gtest/gtest.h>
#include "scenario/scenario.h"
TEST(Layout, RecordSize) { EXPECT_EQ(sizeof(qrn::Scenario), 4516515u); }
