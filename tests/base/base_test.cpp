#include <string>

#include <gtest/gtest.h>

#include "base/expected.h"
#include "base/precondition.h"
#include "base/refusal.h"

namespace quilane {
namespace {

TEST(Refusal, TheWayOutFollowsTheMessageOnALineOfItsOwn) {
  struct Case {
    const char* name;
    WayOut way_out;
    const char* reason;
    const char* way_out_text;
  };
  const Case cases[] = {
      {"no way out", WayOut::kNone, "", ""},
      {"a reason without a way out is not shown", WayOut::kNone, "Because", ""},
      {"the mapping", WayOut::kConformalMapping, "", "For this section use --mapping."},
      {"the mapping and why", WayOut::kConformalMapping, "The edge is open",
       "The edge is open; for this section use --mapping."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Refusal refusal(RefusalCode::kStationOutOfRange, "xI(1) = 0.9 is out\r\nof range");
    refusal.way_out = c.way_out;
    refusal.way_out_reason = c.reason;
    EXPECT_EQ(WayOutText(refusal, "use --mapping"), c.way_out_text);
    const std::string text = MessageWithWayOut(refusal, "use --mapping");
    EXPECT_EQ(text, *c.way_out_text == '\0' ? refusal.message
                                             : refusal.message + "\n" + c.way_out_text);
    EXPECT_EQ(FirstLine(text), "xI(1) = 0.9 is out");
  }
  EXPECT_EQ(FirstLine("one line"), "one line");
  EXPECT_EQ(FirstLine("\nsecond"), "");
}

TEST(Expected, HoldsAValueOrTheRefusalInItsPlace) {
  Expected<std::string> value(std::string("NACA 2412"));
  ASSERT_TRUE(value.has_value());
  EXPECT_TRUE(static_cast<bool>(value));
  EXPECT_EQ(*value, "NACA 2412");
  EXPECT_EQ(value->size(), 9u);
  EXPECT_EQ(std::move(value).value(), "NACA 2412");

  const Expected<std::string> refused(FileRefusal(RefusalCode::kMalformedFile, "a.arf", 3, "Bad."));
  ASSERT_FALSE(refused.has_value());
  EXPECT_FALSE(static_cast<bool>(refused));
  EXPECT_EQ(refused.error().code, RefusalCode::kMalformedFile);
  EXPECT_EQ(refused.error().file, "a.arf");
  EXPECT_EQ(refused.error().line, 3);
  EXPECT_EQ(refused.error().message, "Bad.");
  EXPECT_EQ(PointRefusal(RefusalCode::kOutOfOrder, 7, "").index, 7);
}

TEST(PreconditionDeathTest, AViolatedOneAbortsNamingItsPlaceAndCondition) {
  if (!QUILANE_PRECONDITIONS_CHECKED) GTEST_SKIP() << "preconditions are not checked here";
  [[maybe_unused]] const int count = 0;
  EXPECT_DEATH(QUILANE_PRECONDITION(count >= 1),
               "base_test\\.cpp:[0-9]+: precondition failed: count >= 1");
}

}  // namespace
}  // namespace quilane
