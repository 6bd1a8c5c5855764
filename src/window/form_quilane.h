// Form_Quilane: the program's one window. It holds the method settings, the
// file browser with its save box, the calculate button, the plot with its
// offset bars and title labels, the zoom group and the menu, and it is the
// host of the calculation run. The program state lives in the workspace,
// owned by the caller; the window keeps nothing but its controls.
#ifndef QUILANE_WINDOW_FORM_QUILANE_H_
#define QUILANE_WINDOW_FORM_QUILANE_H_

#include <QMainWindow>
#include <QPoint>
#include <QString>
#include <memory>
#include <string>

#include "engine/run_host.h"
#include "window/airfoil_plot.h"
#include "window/view_bars.h"
#include "workspace/airfoil_workspace.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace quilane {

class AboutWindow;
class CommittedScrollBar;
class DirList;
class DriveList;
class FileBrowser;
class FileDialogService;
class FileList;
class MessageService;
class PictureAirfoil;
struct PlotLook;

inline constexpr const char* kWindowCaption =
    "QuilaneConfMap - Redistributing Airfoil coordinates by using conformal mapping";
inline constexpr const char* kSameNameMessage = "Use a different file name then the old one";
inline constexpr int kClientWidth = 840;   // 12600 twips
inline constexpr int kClientHeight = 564;  // 8460 twips
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kSmallestFontPixels = 7;  // the window's font is never made smaller

class FormQuilane : public QMainWindow, public RunHost, private PlotTitles {
  Q_OBJECT

 public:
  // Builds every control with its name, place, caption and start value (the
  // toolkit's default font family, at the largest size up to its default at
  // which every caption fits its control), and
  // does what the window's load does: Pi = 4 * atan(1) in `ws`. The file
  // browser starts at the process's current directory. `ws` and `messages`
  // must outlive the window. The file dialogs are the toolkit's own.
  FormQuilane(AirfoilWorkspace& ws, MessageService& messages, QWidget* parent = nullptr);
  // The same, asking for file names through `dialogs`, which must outlive
  // the window.
  FormQuilane(AirfoilWorkspace& ws, MessageService& messages, FileDialogService& dialogs,
              QWidget* parent = nullptr);
  ~FormQuilane() override;

  // RunHost: the settings as the person left them.
  std::string TextNI() override;
  bool MappingChecked() override;
  bool LagrangeSelected() override;
  std::string TextNPoly() override;
  void ShowMessage(const std::string& text) override;
  // Set the bar's value; its change handling runs inside the call when the
  // value differs.
  void SetScrollX0(int value) override;
  void SetScrollOlcek(int value) override;
  void SetScrollY0(int value) override;
  // Show_Airfoil(N, X, Y, NI, XI, YI) on Picture_Airfoil, titles in Label3
  // and Label4.
  void ShowAirfoil(int N, const PointArray& X, const PointArray& Y, int NI, const PointArray& XI,
                   const PointArray& YI) override;

  // The window's events, callable directly as the controls call them.
  void OpenClicked();                         // Mn_Open: shows the browser
  // Mn_ImportDat: asks for a coordinate file (the folder of File1 first) and
  // loads it as a choice in File1 loads a *.arf file: hide Frame3, read
  // (LoadCoordinateFile: .dat or *.arf, told by the content), then plot; a
  // refused file shows the reader's message and changes nothing else. The
  // title comes from the file. A file read leaves no name selected in File1,
  // whose selection is the file read. Cancelling does nothing.
  void ImportDatClicked();
  // Mn_ExportPlot: asks for a file name (PNG or SVG) and writes the plot at
  // the view the window shows (ExportPlot); a failure shows its message,
  // which names the file. Cancelling does nothing.
  void ExportPlotClicked();
  void SaveMenuClicked();                     // Mn_Save: browser, save box, proposed name
  void AboutClicked();                        // Mn_About: the information window
  void FileChosen(const QString& name);       // File1: read the file and plot it
  void SaveClicked();                         // Command_Save: check the name and write
  void CalculateClicked();                    // Command1: the calculation run
  void ZoomCommitted(int value);              // HScroll_Olcek
  void OffsetXCommitted(int value);           // HScroll_X0
  void OffsetYCommitted(int value);           // VScroll_Y0
  // Mouse gestures over Picture_Airfoil move the bars, whose change handling
  // redraws: each wheel notch one step of HScroll_Olcek (up zooms in), a
  // drag with the left button HScroll_X0 and VScroll_Y0 so that the picture
  // follows the pointer (X0StepsForDrag, Y0StepsForDrag at the zoom factor
  // shown, PlotScale, or the bar's when nothing set it yet). Values stop at
  // the ends of the bars' ranges.
  void PlotWheelTurned(int notches);
  void PlotDragStarted();
  void PlotDragged(QPoint step);

  // The plot as an exported picture shows it: the surface's size and
  // background and the two title labels.
  PlotLook CurrentPlotLook() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetTitles(const std::string& airfoil_title, const std::string& plot_title) override;
  void Build();
  void BuildControls();
  void FitFont();
  bool CaptionsFit() const;
  void BuildMenu();
  void SetTabOrder();
  void Redraw();
  // True when `typed` (resolved against the current directory), or the
  // camber file it would give, is the very file that was read.
  bool WouldOverwriteInput(const std::string& typed) const;

  AirfoilWorkspace& ws_;
  MessageService& messages_;
  std::unique_ptr<FileDialogService> standard_dialogs_;  // when none was given
  FileDialogService* dialogs_ = nullptr;
  QString export_folder_;  // where the last picture went
  QString export_filter_;  // the kind of picture chosen last
  DragSteps drag_x_;
  DragSteps drag_y_;

  QWidget* client_ = nullptr;
  QFrame* frame1_ = nullptr;
  QFrame* frame2_ = nullptr;
  QFrame* frame3_ = nullptr;
  QFrame* frame4_ = nullptr;
  QFrame* frame5_ = nullptr;
  QCheckBox* chk_mapping_ = nullptr;
  QLineEdit* text_npoly_ = nullptr;
  QRadioButton* option_pwcubic_ = nullptr;
  QRadioButton* option_lagrange_ = nullptr;
  QLineEdit* text_save_ = nullptr;
  QPushButton* command_save_ = nullptr;
  FileList* file1_ = nullptr;
  DirList* dir1_ = nullptr;
  DriveList* drive1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QLineEdit* text_ni_ = nullptr;
  QLabel* label1_ = nullptr;
  QLineEdit* text_scale_ = nullptr;
  CommittedScrollBar* hscroll_olcek_ = nullptr;
  QLabel* label2_ = nullptr;
  PictureAirfoil* picture_airfoil_ = nullptr;
  CommittedScrollBar* vscroll_y0_ = nullptr;
  CommittedScrollBar* hscroll_x0_ = nullptr;
  QLabel* label4_ = nullptr;
  QLabel* label3_ = nullptr;
  QMenu* mn_file_ = nullptr;
  QAction* mn_open_ = nullptr;
  QAction* mn_import_dat_ = nullptr;
  QAction* mn_export_plot_ = nullptr;
  QAction* mn_save_ = nullptr;
  QAction* mn_about_ = nullptr;
  FileBrowser* browser_ = nullptr;
  AboutWindow* about_ = nullptr;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_FORM_QUILANE_H_
