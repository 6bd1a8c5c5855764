#include "workspace/airfoil_workspace.h"

#include <gtest/gtest.h>

namespace quilane {
namespace {

// A count never set reads as 0 but differs from one set to 0: the camber
// file of a window that never calculated has an empty count line. Both
// counts of the window's state start unset.
TEST(SettableTest, UnsetDiffersFromSetToZero) {
  Settable<double> unset;
  Settable<double> zero;
  zero = 0.0;
  EXPECT_FALSE(unset.IsSet());
  EXPECT_TRUE(zero.IsSet());
  EXPECT_EQ(static_cast<double>(unset), 0.0);
  EXPECT_FALSE(unset == zero);
  Settable<double> count;
  count = 25.5;
  EXPECT_EQ(static_cast<double>(count), 25.5);
  count = 0.0;
  EXPECT_TRUE(count == zero);  // set again, it stays set

  const AirfoilWorkspace ws;
  EXPECT_FALSE(ws.NI.IsSet());
  EXPECT_FALSE(ws.NCamber.IsSet());
}

// The window's tests compare whole states to show that a refused step
// changed nothing: the comparison takes in every item.
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
