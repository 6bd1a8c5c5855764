// Form_Quilane: the program's one window. It holds the method settings, the
// file browser with its save box, the calculate button, the plot with its
// offset bars and title labels, the zoom group and the menu. Its events call
// the core (the readers, Redistribute, the writers) and act on what they
// return. The program state lives in the workspace, owned by the caller; the
// window keeps nothing but its controls.
#ifndef QUILANE_WINDOW_FORM_QUILANE_H_
#define QUILANE_WINDOW_FORM_QUILANE_H_

#include <QMainWindow>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <memory>
#include <set>
#include <string>

#include "base/refusal.h"
#include "engine/redistribute.h"
#include "files/coordinate_file.h"
#include "window/airfoil_plot.h"
#include "window/status_text.h"
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
class QStatusBar;

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
class StatusLine;
struct PlotLook;

inline constexpr const char* kWindowCaption =
    "QuilaneConfMap - Redistributing Airfoil coordinates by using conformal mapping";
inline constexpr const char* kSameNameMessage = "Use a different file name then the old one";
inline constexpr const char* kEmptyNameMessage =
    "Type a name for the new coordinate file in the box above the button";
inline constexpr const char* kReplaceQuestion = "Replace it?";
inline constexpr const char* kOpenFileMessage = "Open a file containing airfoil coordinates";
// Height of the status bar below the client area, in pixels: the window is
// this much taller than its menu bar and client area.
inline constexpr int kStatusBarHeight = 22;
inline constexpr int kClientWidth = 840;   // 12600 twips
inline constexpr int kClientHeight = 564;  // 8460 twips
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kSmallestFontPixels = 7;  // the window's font is never made smaller

class FormQuilane : public QMainWindow, private PlotTitles {
  Q_OBJECT

 public:
  // Builds every control with its name, place, caption and start value (the
  // toolkit's default font family, at the largest size up to its default at
  // which every caption fits its control), and
  // does what the window's load does: Pi = 4 * atan(1) in `ws`. The file
  // browser starts at the process's current directory. `ws` and `messages`
  // must outlive the window. The file dialogs are the toolkit's own.
  FormQuilane(AirfoilWorkspace& ws, MessageService& messages, QWidget* parent = nullptr);
  // The same on a workspace of the window's own, alive as long as the window.
  explicit FormQuilane(MessageService& messages, QWidget* parent = nullptr);
  // The same, asking for file names through `dialogs`, which must outlive
  // the window.
  FormQuilane(AirfoilWorkspace& ws, MessageService& messages, FileDialogService& dialogs,
              QWidget* parent = nullptr);
  ~FormQuilane() override;

  // Set the value of HScroll_X0, HScroll_Olcek or VScroll_Y0 as the program
  // does; its change handling runs inside the call when the value differs,
  // and for an offset bar also when the view left the bar's step by a
  // gesture (so a run's reset puts the view back on the bar).
  void SetScrollX0(int value);
  void SetScrollOlcek(int value);
  void SetScrollY0(int value);
  // Show_Airfoil(N, X, Y, NI, XI, YI) on Picture_Airfoil, the view and the
  // camber line from the workspace, titles in Label3 and Label4.
  void ShowAirfoil(int N, const PointArray& X, const PointArray& Y, int NI, const PointArray& XI,
                   const PointArray& YI);

  // The window's events, callable directly as the controls call them.
  // Mn_Open (Ctrl+O): shows the browser; the focus goes back where it was
  // when the browser closes.
  void OpenClicked();
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
  // Mn_Save (Ctrl+S): before any file is read, kOpenFileMessage and nothing
  // more; else the browser and the save box, proposing the name of the file
  // read (selected in File1, or imported), selected in the focused name box.
  void SaveMenuClicked();
  // Escape in the browser or the save box: hides both; the focus goes back
  // where it was before they opened, and a refusal of the save box in the
  // status bar gives way to the line of the last event.
  void HideBrowser();
  void AboutClicked();                        // Mn_About: the information window
  // File1: read the file and plot it. A file read clears the camber line
  // (NCamber unset), so no camber line of another section is drawn or saved.
  void FileChosen(const QString& name);
  // Command_Save, or Enter in Text_Save: before any file is read,
  // kOpenFileMessage; a name empty or of blanks only is refused with
  // kEmptyNameMessage, the input file's name with kSameNameMessage, a name
  // no file can have (a folder's) with the writer's message; when the
  // coordinate or the camber file exists and was not written by this window
  // in this session, kReplaceQuestion is asked (No keeps everything as it
  // was, the save box open). After a refusal or a failed write the name box
  // has the focus, its text selected. The status bar then names both written
  // files and their folder.
  void SaveClicked();
  // Command1: "Open a file containing airfoil coordinates" before any file;
  // otherwise reads Text_NI, Chk_Mapping, Option_Lagrange and (with
  // Lagrange) Text_nPoly once, calls Redistribute on the section loaded, and
  // on success puts the result into the workspace, resets the view through
  // the three scroll bars and plots. A refusal shows its message and
  // changes nothing.
  void CalculateClicked();
  void ZoomCommitted(int value);              // HScroll_Olcek
  void OffsetXCommitted(int value);           // HScroll_X0
  void OffsetYCommitted(int value);           // VScroll_Y0
  // Mouse gestures over Picture_Airfoil set the view directly: a wheel notch
  // moves HScroll_Olcek one step (up zooms in) about the data point under
  // the pointer `at` (surface pixels); a drag with the left button moves the
  // picture with the pointer exactly. The offsets stay continuous within
  // the bars' ranges and the bars show the nearest value they can.
  void PlotWheelTurned(int notches, QPointF at);
  void PlotDragged(QPointF step);

  // The text of the status bar.
  QString StatusText() const;

  // The plot as an exported picture shows it: the surface's size and
  // background and the two title labels.
  PlotLook CurrentPlotLook() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void SetTitles(const std::string& airfoil_title, const std::string& plot_title) override;
  // A modal message with an OK button, its first line also in the status bar.
  void ShowMessage(const std::string& text);
  // A refusal's message in the box; the status bar adds its way out.
  void ShowRefusal(const Refusal& refusal);
  // Whether a file was read; if not, says kOpenFileMessage.
  bool FileRead();
  // A refused save: ShowRefusal, then the name box to mend the name.
  void RefuseSave(const Refusal& refusal);
  void FocusSaveName();
  // Notes the focused control as the one to go back to, unless it lies in
  // the browser.
  void RememberFocus();
  // Hides Frame3; focus inside it goes to Command1 after a file was read
  // (the next step is to calculate), else back to the remembered control.
  void CloseBrowser(bool file_read);
  void Build();
  void BuildControls();
  void FitFont();
  bool CaptionsFit() const;
  void BuildMenu();
  void SetTabOrder();
  // ShowAirfoil of the workspace's points.
  void Redraw();
  // After a file was read: into the workspace, plot, report `status`.
  void Loaded(const LoadedFile& file, const std::string& status);
  // True when `typed` (resolved against the current directory), or the
  // camber file it would give, is the very file that was read.
  bool WouldOverwriteInput(const std::string& typed) const;
  // Whether the save may go ahead: asks kReplaceQuestion when either file
  // exists and this window did not write it.
  bool MayReplace();
  // The line that reports the last completed event (a read, a run, a save).
  void ShowStatus(const std::string& text);
  // A line for the moment (a message, a refusal, a kept file); the next
  // ShowStatus replaces it, and closing the browser brings the last back.
  void ShowLine(const std::string& text);
  // + and - step the zoom bar, as an arrow click on it does.
  void StepZoom(bool in);
  // The view the plot shows, the zoom factor from the bar while no file set it.
  PlotView CurrentView() const;
  SurfaceSpan PlotSpan() const;
  // Puts `view` into the workspace, shows it on the bars without their
  // change handling, and redraws once.
  void ApplyView(const PlotView& view, int zoom_bar);
  TypedSettings CurrentSettings() const;

  // Messages of the window's parts (the file browser) also go through
  // ShowMessage, so their first line reaches the status bar.
  class StatusMessages;

  std::unique_ptr<AirfoilWorkspace> own_workspace_;  // when none was given
  AirfoilWorkspace& ws_;
  MessageService& messages_;
  std::unique_ptr<StatusMessages> browser_messages_;
  std::unique_ptr<FileDialogService> standard_dialogs_;  // when none was given
  FileDialogService* dialogs_ = nullptr;
  QString export_folder_;  // where the last picture went
  QString export_filter_;  // the kind of picture chosen last
  std::set<std::string> written_;  // files this window wrote (absolute)
  std::string state_status_;       // the last ShowStatus line
  bool save_refused_ = false;      // the line shown is a refusal of the save box
  QPointer<QWidget> return_focus_;  // focused before the browser opened

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
  QAction* mn_quit_ = nullptr;
  QMenu* mn_calculation_ = nullptr;
  QAction* mn_on_spline_ = nullptr;  // checkable: new points on the curve through the input
  QAction* mn_about_ = nullptr;
  QStatusBar* status_bar_ = nullptr;
  StatusLine* status_text_ = nullptr;
  FileBrowser* browser_ = nullptr;
  AboutWindow* about_ = nullptr;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_FORM_QUILANE_H_
