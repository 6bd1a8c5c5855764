// Thousands of random files and typed settings through the core, from a
// fixed seed: files of NACA sections (some reversed, rescaled or shaken) and
// of random point clouds of 2 to 1000 points loaded as the tool loads them,
// NI from -5 to 2000 and nPoly from -3 to 1200 typed with blanks, signs,
// exponents and junk read by ReadSettings, and Redistribute on both routes
// with both methods. Each case must end in a result or in one refusal with a
// message: never a crash or sanitizer report, a result of another count than
// the one typed, or a new point, camber point or report that is not finite.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "base/capacity.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"
#include "files/number_text.h"
#include "sections/naca_section.h"

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

// A NACA 4-digit section, reversed, rescaled or shaken at times. Camber
// aft of 20 % and thickness up to 24 % keep the formula's surfaces from
// folding over, which the generator refuses.
void NacaLike(Random& random, int n, std::vector<double>& x, std::vector<double>& y) {
  const int camber = Uniform(random, 0, 9);
  const int position = camber == 0 ? Uniform(random, 0, 9) : Uniform(random, 2, 9);
  const int thickness = Uniform(random, 1, 24);
  std::string digits = FormatWhole(camber) + FormatWhole(position);
  digits += (thickness < 10 ? "0" : "") + FormatWhole(thickness);
  const Expected<AirfoilSection> made = Naca4Section(
      digits, n, Chance(random, 0.3) ? TrailingEdge::kBlunt : TrailingEdge::kSharp);
  ASSERT_TRUE(made) << made.error().message;
  x = made->x;
  y = made->y;
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

// Empty when every value is a finite number, else which is not.
std::string FirstNonFinite(const std::vector<double>& x, const std::vector<double>& y) {
  for (std::size_t i = 0; i < x.size() || i < y.size(); ++i) {
    if (i >= x.size() || i >= y.size() || !std::isfinite(x[i]) || !std::isfinite(y[i])) {
      return "point " + FormatWhole(static_cast<long long>(i) + 1);
    }
  }
  return "";
}

void CheckRefusal(const Refusal& refusal) {
  ASSERT_FALSE(refusal.message.empty()) << "a refusal without a message";
  ASSERT_GE(refusal.index, 0);
  ASSERT_LE(refusal.index, kPointCapacity);
}

TEST(RandomizedRunTest, EveryCaseEndsInAResultOrOneRefusal) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("quilane-randomized-" + FormatWhole(static_cast<long long>(std::random_device{}())));
  std::filesystem::create_directories(folder);
  Random random(kSeed);
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
    const std::string path = (folder / ("case-" + FormatWhole(c) + ".arf")).string();
    {
      const std::string text = FileText(random, x, y);
      std::ofstream(path, std::ios::binary).write(text.data(),
                                                  static_cast<std::streamsize>(text.size()));
    }
    const Expected<LoadedFile> loaded = LoadCoordinateFile(path);
    std::filesystem::remove(path);
    if (!loaded) {
      ++refused_files;
      CheckRefusal(loaded.error());
      continue;
    }
    const Section& section = loaded->section;

    TypedSettings typed;
    typed.route = Chance(random, 0.5) ? Route::kConformalMapping : Route::kAlongChord;
    typed.method = Chance(random, 0.6) ? Method::kLagrange : Method::kPwCubic;
    const int ni = Chance(random, 0.75) ? Uniform(random, 2, 1000) : Uniform(random, -5, 2000);
    typed.points = TypedText(random, ni);
    const int npoly = Chance(random, 0.2) ? Uniform(random, -3, 1200) : Uniform(random, -3, 8);
    typed.degree = TypedText(random, npoly);
    const double typed_ni = ValueOfString(typed.points);
    const double typed_npoly = ValueOfString(typed.degree);
    const double cost = typed_ni * (typed_npoly + 1) * (typed_npoly + 1);
    const auto points = static_cast<double>(section.contour.x.size());
    if (typed.method == Method::kLagrange && typed_npoly < points && typed_ni <= kPointCapacity &&
        cost > kExpensive) {
      if (cost <= budget) {
        budget -= cost;
        ++expensive_runs;
      } else {
        typed.degree = TypedText(random, Uniform(random, 0, 8));
      }
    }

    const Expected<RedistributeSettings> settings = ReadSettings(typed);
    const Expected<RedistributeResult> result =
        settings ? Redistribute(section, *settings)
                 : Expected<RedistributeResult>(settings.error());
    if (!result) {
      ++refused_runs;
      CheckRefusal(result.error());
      continue;
    }
    ++accepted_runs;
    ASSERT_EQ(static_cast<double>(result->x.size()), typed_ni) << typed.points;
    ASSERT_EQ(FirstNonFinite(result->x, result->y), "") << "new points not finite";
    ASSERT_EQ(result->camber_count, (typed_ni + 1) / 2.0);
    ASSERT_EQ(static_cast<double>(result->camber_x.size()), std::floor(result->camber_count));
    ASSERT_EQ(FirstNonFinite(result->camber_x, result->camber_y), "")
        << "camber points not finite";
    ASSERT_TRUE(std::isfinite(result->report.max_deviation) &&
                std::isfinite(result->report.mean_deviation))
        << "report not finite";
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
