// The window and the command-line tool are two front ends of one core: on
// the shipped samples and on published files, every route and method, the
// files the window saves equal the tool's byte for byte, and a refusal
// reads the same in both.
#include <sys/wait.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <cstdlib>
#include <string>

#include "test_sections.h"
#include "window_test_support.h"

namespace quilane {
namespace {

const QString kSamples = QStringLiteral(QUILANE_SAMPLES_DIR);
const QString kDatabase = QStringLiteral(QUILANE_DATABASE_SAMPLE_DIR);

// The settings of `way` on the tool's command line.
std::string ToolOptions(const test::Way& way) {
  std::string options = way.route == Route::kConformalMapping ? "--mapping " : "";
  if (way.on_spline) options += "--on-spline ";
  return options + (way.method == Method::kPwCubic ? "--pwcubic"
                                                   : "--lagrange " + std::to_string(way.degree));
}

// The tool's lines on standard error without its name in front.
std::string ToolMessages(const std::string& err) {
  const std::string prefix = "quilane-redistribute: ";
  std::string lines;
  for (std::size_t start = 0; start < err.size();) {
    std::size_t end = err.find('\n', start);
    if (end == std::string::npos) end = err.size();
    std::string line = err.substr(start, end - start);
    if (line.rfind(prefix, 0) == 0) line.erase(0, prefix.size());
    lines += (lines.empty() ? "" : "\n") + line;
    start = end + 1;
  }
  return lines;
}

class FrontEndAgreementTest : public WindowTest {
 protected:
  void SetUp() override { OpenWindow(); }

  // Runs the tool in the temporary folder; its exit code.
  int RunTool(const std::string& arguments) {
    const std::string command = "cd '" + QDir::currentPath().toStdString() + "' && '" +
                                QUILANE_REDISTRIBUTE + "' " + arguments +
                                " > tool.out 2> tool.err";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  void Compare(const QString& input, const test::Way& way, int index) {
    SCOPED_TRACE(input.toStdString() + ", " + way.name);
    messages.texts.clear();
    dialogs.answers.push_back(input);
    form->ImportDatClicked();
    ASSERT_TRUE(messages.texts.empty()) << messages.texts.front();
    const bool spline = way.method == Method::kPwCubic;
    Control<QCheckBox>("Chk_Mapping")->setChecked(way.route == Route::kConformalMapping);
    Control<QRadioButton>(spline ? "Option_PwCubic" : "Option_Lagrange")->setChecked(true);
    if (!spline) Control<QLineEdit>("Text_nPoly")->setText(QString::number(way.degree));
    form->findChild<QAction*>("Mn_OnSpline")->setChecked(way.on_spline);
    form->CalculateClicked();

    const std::string tool_name = "tool" + std::to_string(index) + ".arf";
    const int exit_code =
        RunTool(ToolOptions(way) + " -o " + tool_name + " '" + input.toStdString() + "'");
    const std::string tool_messages = ToolMessages(ReadText("tool.err"));
    if (!messages.texts.empty()) {
      // Refused by both: the box reads as the tool's message, and the status
      // bar's way out as the tool's, but for the words of the switch.
      EXPECT_EQ(exit_code, 1);
      ASSERT_EQ(messages.texts.size(), 1u);
      const std::string& box = messages.texts.front();
      EXPECT_EQ(tool_messages.substr(0, box.size()), box);
      std::string status = form->StatusText().toStdString();
      const std::string dash = " \u2014 ";
      const std::size_t way_out = status.find(dash);
      std::string window_way_out;
      if (way_out != std::string::npos) {
        window_way_out = status.substr(way_out + dash.size());
        const std::string words = "tick Conformal Mapping and calculate again";
        window_way_out.replace(window_way_out.find(words), words.size(), "use --mapping");
      }
      const std::string tool_way_out =
          tool_messages.size() > box.size() ? tool_messages.substr(box.size() + 1) : "";
      EXPECT_EQ(window_way_out, tool_way_out);
      return;
    }
    ASSERT_EQ(exit_code, 0) << tool_messages;
    EXPECT_EQ(form->StatusText().contains(", on a spline through the input;"), way.on_spline);
    const QString window_name = QStringLiteral("window%1.arf").arg(index);
    form->SaveMenuClicked();
    Control<QLineEdit>("Text_Save")->setText(window_name);
    form->SaveClicked();
    ASSERT_TRUE(messages.texts.empty()) << messages.texts.front();
    const std::string window_points = ReadText(window_name);
    EXPECT_FALSE(window_points.empty());
    EXPECT_EQ(window_points, ReadText(QString::fromStdString(tool_name)));
    EXPECT_EQ(ReadText("Camber_" + window_name),
              ReadText(QString::fromStdString("Camber_" + tool_name)));
  }
};

TEST_F(FrontEndAgreementTest, WindowAndToolWriteTheSameFilesAndRefuseAlike) {
  QStringList inputs = QDir(kSamples).entryList({"*.arf"}, QDir::Files, QDir::Name);
  ASSERT_EQ(inputs.size(), 4);
  for (QString& name : inputs) name = kSamples + "/" + name;
  // A Selig and an ISES file that both routes take, and three that the route
  // along the chord refuses each for its own reason: two nose points of the
  // same x, a first point beyond the chord, an open trailing edge.
  for (const char* name : {"2032c.dat", "tasopt-e120.dat", "e339.dat", "giiif.dat",
                           "mi-vawt1.dat"}) {
    inputs.push_back(kDatabase + "/" + name);
  }
  int index = 0;
  int refused = 0;
  for (const QString& input : inputs) {
    ASSERT_TRUE(QFile::exists(input)) << input.toStdString();
    for (const test::Way& way : test::kEveryWay) {
      Compare(input, way, ++index);
      refused += messages.texts.empty() ? 0 : 1;
    }
  }
  EXPECT_EQ(refused, 12);  // the three files along the chord, by all four of its ways
}

}  // namespace
}  // namespace quilane
