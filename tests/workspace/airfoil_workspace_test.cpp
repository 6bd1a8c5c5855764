#include "workspace/airfoil_workspace.h"

#include <gtest/gtest.h>

namespace quilane {
namespace {

TEST(SettableTest, UnsetAndSetToZeroBothReadAsZeroButDiffer) {
  Settable<int> unset;
  Settable<int> zero;
  zero = 0;
  EXPECT_FALSE(unset.IsSet());
  EXPECT_TRUE(zero.IsSet());
  EXPECT_EQ(static_cast<int>(unset), 0);
  EXPECT_EQ(static_cast<int>(zero), 0);
  EXPECT_FALSE(unset == zero);
  EXPECT_LT(unset, 1);  // compares as the plain count
}

TEST(SettableTest, KeepsTheLastValueAndStaysSet) {
  Settable<double> count;
  count = 25.5;
  EXPECT_TRUE(count.IsSet());
  EXPECT_EQ(static_cast<double>(count), 25.5);
  count = 0.0;
  EXPECT_TRUE(count.IsSet());
  EXPECT_EQ(static_cast<double>(count), 0.0);
  Settable<double> other;
  other = 0.0;
  EXPECT_TRUE(count == other);
}

TEST(AirfoilWorkspaceTest, StartsWithNothingSet) {
  const AirfoilWorkspace ws;
  EXPECT_EQ(ws.Pi, 0.0);
  EXPECT_TRUE(ws.InputPath.empty());
  EXPECT_TRUE(ws.AirfoilTitle.empty());
  EXPECT_TRUE(ws.PlotTitle.empty());
  EXPECT_TRUE(ws.SaveName.empty());
  EXPECT_TRUE(ws.CamberName.empty());
  EXPECT_FALSE(ws.FileLoaded);
  EXPECT_EQ(ws.PlotScale, 0.0);
  EXPECT_EQ(ws.PlotX0, 0.0);
  EXPECT_EQ(ws.PlotY0, 0.0);
  EXPECT_EQ(ws.N, 0);
  EXPECT_EQ(ws.ILE, 0);
  EXPECT_FALSE(ws.NI.IsSet());
  EXPECT_FALSE(ws.NCamber.IsSet());
  EXPECT_EQ(static_cast<int>(ws.NI), 0);
  EXPECT_EQ(static_cast<double>(ws.NCamber), 0.0);
  for (const PointArray* array : {&ws.X, &ws.Y, &ws.XI, &ws.YI, &ws.U, &ws.V, &ws.UI, &ws.VI,
                                  &ws.XC, &ws.YC, &ws.XCamber, &ws.YCamber}) {
    ASSERT_EQ(array->size(), static_cast<std::size_t>(kPointCapacity + 1));
    for (const double value : *array) ASSERT_EQ(value, 0.0);
  }
}

TEST(AirfoilWorkspaceTest, EqualityCoversEveryItem) {
  const AirfoilWorkspace start;
  struct Change {
    const char* name;
    void (*apply)(AirfoilWorkspace&);
  };
  const Change changes[] = {
      {"last_array_entry", [](AirfoilWorkspace& ws) { ws.YCamber[kPointCapacity] = 1e-300; }},
      {"unused_entry_zero", [](AirfoilWorkspace& ws) { ws.X[0] = 1.0; }},
      {"count_set_to_zero", [](AirfoilWorkspace& ws) { ws.NI = 0; }},
      {"camber_count_set_to_zero", [](AirfoilWorkspace& ws) { ws.NCamber = 0.0; }},
      {"title", [](AirfoilWorkspace& ws) { ws.AirfoilTitle = " "; }},
      {"flag", [](AirfoilWorkspace& ws) { ws.FileLoaded = true; }},
      {"nose_index", [](AirfoilWorkspace& ws) { ws.ILE = 3; }},
      {"mapping_exponent", [](AirfoilWorkspace& ws) { ws.K = 2; }},
      {"zoom", [](AirfoilWorkspace& ws) { ws.PlotScale = 1.0; }},
  };
  for (const auto& change : changes) {
    SCOPED_TRACE(change.name);
    AirfoilWorkspace ws;
    EXPECT_TRUE(ws == start);
    change.apply(ws);
    EXPECT_FALSE(ws == start);
    AirfoilWorkspace copy = ws;
    EXPECT_TRUE(copy == ws);
  }
}

}  // namespace
}  // namespace quilane
