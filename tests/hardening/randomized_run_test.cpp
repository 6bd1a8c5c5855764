// Thousands of random files and typed settings through the reader and the
// calculation run, from a fixed seed: NACA sections (some reversed, rescaled
// or shaken) and random point clouds of 2 to 1000 points, NI from -5 to 2000
// and nPoly from -3 to 1200 typed with blanks, signs, exponents and junk, on
// both routes with both methods. Each case must end in a result or in one
// message: never a crash or sanitizer report, a new point or camber point
// that is not finite, or a workspace changed by a refusal.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/run_calculation.h"
#include "engine/run_host.h"
#include "files/airfoil_file_reader.h"
#include "files/number_text.h"
#include "sections/naca_section.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {
namespace {

constexpr int kCases = 3000;
constexpr std::uint64_t kSeed = 20240611;
// Lagrange costs about NI (nPoly + 1)^2 steps per run. Runs above a million
// steps share this budget; one that does not fit types a small degree instead.
constexpr double kExpensive = 1e6;
constexpr double kExpensiveBudget = 3e8;

using Random = std::mt19937_64;

int Uniform(Random& random, int lowest, int highest) {
  return std::uniform_int_distribution<int>(lowest, highest)(random);
}
double Real(Random& random, double lowest, double highest) {
  return std::uniform_real_distribution<double>(lowest, highest)(random);
}
bool Chance(Random& random, double p) { return std::bernoulli_distribution(p)(random); }

// Shortest text that reads back to the same double.
std::string Shortest(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

// A number as a person might type it into a box: plain, signed, with an
// exponent or a fraction, with blanks inside, with junk before or after, or
// something that is no number at all.
std::string TypedText(Random& random, int value) {
  const std::string plain = FormatWhole(value);
  switch (Uniform(random, -8, 11)) {
    default:
      return plain;
    case 3: {  // blanks, tabs and line feeds anywhere
      std::string text = plain;
      for (int k = Uniform(random, 1, 3); k > 0; --k) {
        const char blank = " \t\n"[Uniform(random, 0, 2)];
        text.insert(text.begin() + Uniform(random, 0, static_cast<int>(text.size())), blank);
      }
      return text;
    }
    case 4:
      return (value >= 0 ? "+" : "") + plain;
    case 5:  // exponent form of the same number, or of its tenth
      return Chance(random, 0.5) ? plain + "e0" : plain + ".5E-1";
    case 6:
      return plain + (Chance(random, 0.5) ? ".0" : ".5");
    case 7: {
      static const char* const kAfter[] = {"abc", ",5", "e", "e+", "-", ".", "x1"};
      return plain + kAfter[Uniform(random, 0, 6)];
    }
    case 8: {
      static const char* const kBefore[] = {"--", "x", ".", "e", "+-"};
      return kBefore[Uniform(random, 0, 4)] + plain;
    }
    case 9: {
      static const char* const kOdd[] = {"", " ", "1e400", "-1e400", "1e-400", "nan", "inf",
                                         "0x33", "1e99999999999", "\xC2\xB2",
                                         "0.000000000000000000001e21"};
      return kOdd[Uniform(random, 0, 10)];
    }
    case 10:
    case 11:
      return Shortest(value * Real(random, 0.5, 2.0));  // most likely not whole
  }
}

// A coordinate file with the given points, written in the usual layout with
// one of several titles.
std::string FileText(Random& random, const std::vector<double>& x, const std::vector<double>& y) {
  static const std::string kTitles[] = {"NACA 2412", "\"Clark Y, smoothed\"", "", "a,b",
                                        "  blanks  ", std::string(990, 't')};
  std::string text = kTitles[Uniform(random, 0, 5)] + (Chance(random, 0.5) ? "\r\n" : "\n");
  text += " " + FormatWhole(static_cast<long long>(x.size())) + " \n";
  for (std::size_t i = 0; i < x.size(); ++i) {
    text += "  " + FormatWhole(static_cast<long long>(i + 1)) + "  " + Shortest(x[i]) + "  " +
            Shortest(y[i]) + "\n";
  }
  if (Chance(random, 0.05)) {  // a byte of junk somewhere
    text[static_cast<std::size_t>(Uniform(random, 0, static_cast<int>(text.size()) - 1))] =
        static_cast<char>(Uniform(random, 1, 255));
  }
  return text;
}

// A NACA 4-digit section, reversed, rescaled or shaken at times.
void NacaLike(Random& random, int n, std::vector<double>& x, std::vector<double>& y) {
  const int camber = Uniform(random, 0, 9);
  const int position = camber == 0 ? Uniform(random, 0, 9) : Uniform(random, 1, 9);
  const int thickness = Uniform(random, 1, 40);
  std::string digits = FormatWhole(camber) + FormatWhole(position);
  digits += (thickness < 10 ? "0" : "") + FormatWhole(thickness);
  const SectionResult made = Naca4Section(
      digits, n, Chance(random, 0.3) ? TrailingEdge::kBlunt : TrailingEdge::kSharp);
  ASSERT_TRUE(made.ok) << made.message;
  x = made.section.x;
  y = made.section.y;
  if (Chance(random, 0.1)) {  // upper surface first
    std::reverse(x.begin(), x.end());
    std::reverse(y.begin(), y.end());
  }
  if (Chance(random, 0.2)) {  // other units and origin
    const double scale = std::pow(10.0, Real(random, -3, 3));
    const double shift = Real(random, -100, 100);
    for (std::size_t i = 0; i < x.size(); ++i) {
      x[i] = x[i] * scale + shift;
      y[i] *= scale;
    }
  }
  if (Chance(random, 0.1)) {  // digitised by a shaking hand
    for (std::size_t i = 0; i < x.size(); ++i) {
      x[i] += Real(random, -0.01, 0.01);
      y[i] += Real(random, -0.01, 0.01);
    }
  }
}

// Points with no shape at all: any size, repeats, wide magnitudes.
void Garbage(Random& random, int n, std::vector<double>& x, std::vector<double>& y) {
  static const double kMagnitudes[] = {1, 1e-3, 1e6, 1e300, 1e-300};
  const double magnitude = kMagnitudes[Uniform(random, 0, 4)];
  x.assign(static_cast<std::size_t>(n), 0.0);
  y.assign(static_cast<std::size_t>(n), 0.0);
  for (int i = 0; i < n; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (i > 0 && Chance(random, 0.2)) {
      x[k] = x[k - 1];
    } else {
      x[k] = Chance(random, 0.2) ? Uniform(random, 0, 2) : Real(random, -1, 1) * magnitude;
    }
    y[k] = Real(random, -1, 1) * magnitude;
  }
}

class TypedHost : public RunHost {
 public:
  std::string ni_text;
  std::string npoly_text;
  bool mapping = false;
  bool lagrange = true;
  int messages = 0;
  int shows = 0;

  std::string TextNI() override { return ni_text; }
  bool MappingChecked() override { return mapping; }
  bool LagrangeSelected() override { return lagrange; }
  std::string TextNPoly() override { return npoly_text; }
  void ShowMessage(const std::string&) override { ++messages; }
  void SetScrollX0(int) override {}
  void SetScrollOlcek(int) override {}
  void SetScrollY0(int) override {}
  void ShowAirfoil(int, const PointArray&, const PointArray&, int, const PointArray&,
                   const PointArray&) override {
    ++shows;
  }
};

std::string FirstNonFinite(int count, const PointArray& x, const PointArray& y) {
  for (int i = 1; i <= count; ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) return "point " + FormatWhole(i);
  }
  return "";
}

TEST(RandomizedRunTest, EveryCaseEndsInAResultOrOneMessage) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("quilane-randomized-" + FormatWhole(static_cast<long long>(std::random_device{}())));
  std::filesystem::create_directories(folder);
  Random random(kSeed);
  // One workspace for all cases, as the window keeps one: every file loads
  // over what the earlier ones left.
  auto ws = std::make_unique<AirfoilWorkspace>();
  ws->Pi = 4 * std::atan(1.0);
  int refused_files = 0, accepted_runs = 0, refused_runs = 0, expensive_runs = 0;
  double budget = kExpensiveBudget;

  for (int c = 0; c < kCases && !HasFailure(); ++c) {
    SCOPED_TRACE("case " + FormatWhole(c));
    const int n = Chance(random, 0.3) ? Uniform(random, 2, 1000) : Uniform(random, 2, 120);
    std::vector<double> x, y;
    if (n >= 3 && Chance(random, 0.65)) {
      NacaLike(random, n, x, y);
    } else {
      Garbage(random, n, x, y);
    }
    ws->InputPath = (folder / ("case-" + FormatWhole(c) + ".arf")).string();
    {
      const std::string text = FileText(random, x, y);
      std::ofstream(ws->InputPath, std::ios::binary).write(text.data(),
                                                           static_cast<std::streamsize>(text.size()));
    }
    AirfoilWorkspace before = *ws;
    const FileResult loaded = LoadAirfoilFile(*ws);
    std::filesystem::remove(ws->InputPath);
    if (!loaded.ok) {
      ++refused_files;
      ASSERT_TRUE(*ws == before) << "a refused file changed the workspace: " << loaded.message;
      ASSERT_FALSE(loaded.message.empty());
      continue;
    }

    TypedHost host;
    host.mapping = Chance(random, 0.5);
    host.lagrange = Chance(random, 0.6);
    const int ni = Chance(random, 0.75) ? Uniform(random, 2, 1000) : Uniform(random, -5, 2000);
    host.ni_text = TypedText(random, ni);
    const int npoly = Chance(random, 0.2) ? Uniform(random, -3, 1200) : Uniform(random, -3, 8);
    host.npoly_text = TypedText(random, npoly);
    const double typed_ni = ValueOfString(host.ni_text);
    const double typed_npoly = ValueOfString(host.npoly_text);
    const double cost = typed_ni * (typed_npoly + 1) * (typed_npoly + 1);
    if (host.lagrange && typed_npoly < ws->N && typed_ni <= kPointCapacity && cost > kExpensive) {
      if (cost <= budget) {
        budget -= cost;
        ++expensive_runs;
      } else {
        host.npoly_text = TypedText(random, Uniform(random, 0, 8));
      }
    }

    before = *ws;
    if (!RunCalculation(*ws, host)) {
      ++refused_runs;
      ASSERT_EQ(host.messages, 1);
      ASSERT_EQ(host.shows, 0);
      ASSERT_TRUE(*ws == before) << "a refused run changed the workspace, NI \"" << host.ni_text
                                 << "\", nPoly \"" << host.npoly_text << "\"";
      continue;
    }
    ++accepted_runs;
    ASSERT_EQ(host.messages, 0);
    ASSERT_EQ(host.shows, 1);
    ASSERT_EQ(static_cast<double>(ws->NI), typed_ni) << host.ni_text;
    ASSERT_EQ(FirstNonFinite(ws->NI, ws->XI, ws->YI), "") << "new points not finite";
    ASSERT_EQ(static_cast<double>(ws->NCamber), (ws->NI + 1) / 2.0);
    ASSERT_EQ(FirstNonFinite(static_cast<int>(ws->NCamber), ws->XCamber, ws->YCamber), "")
        << "camber points not finite";
  }
  std::filesystem::remove_all(folder);

  const std::string summary = FormatWhole(kCases) + " cases: " + FormatWhole(refused_files) +
                              " files refused, " + FormatWhole(accepted_runs) +
                              " runs accepted, " + FormatWhole(refused_runs) +
                              " runs refused, " + FormatWhole(expensive_runs) +
                              " of them with a high Lagrange degree\n";
  std::fputs(summary.c_str(), stdout);
  RecordProperty("summary", summary);
  // Each outcome must be common enough to be tested at all.
  EXPECT_GT(refused_files, kCases / 20);
  EXPECT_GT(accepted_runs, kCases / 8);
  EXPECT_GT(refused_runs, kCases / 5);
}

}  // namespace
}  // namespace quilane
