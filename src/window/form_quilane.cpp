#include "window/form_quilane.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStatusBar>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "engine/redistribute.h"
#include "files/coordinate_file.h"
#include "files/number_text.h"
#include "files/result_file_writer.h"
#include "window/about_window.h"
#include "window/caption_button.h"
#include "window/committed_scroll_bar.h"
#include "window/file_browser.h"
#include "window/file_dialog_service.h"
#include "window/message_service.h"
#include "window/picture_airfoil.h"
#include "window/plot_export.h"
#include "window/status_line.h"
#include "window/workspace_values.h"

namespace quilane {
namespace {

const QColor kWindowBackground(192, 192, 192);
const QColor kPlotBackground(255, 255, 192);
const QColor kAirfoilTitleColour(255, 0, 0);
const QColor kPlotTitleColour(0, 0, 192);

// Places `widget` in its container at a position and size given in twips.
void PlaceTwips(QWidget* widget, int left, int top, int width, int height) {
  auto pixels = [](int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; };
  widget->setGeometry(pixels(left), pixels(top), pixels(width), pixels(height));
}

QFrame* NewFrame(const char* name, QWidget* parent) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  return frame;
}

QLabel* NewLabel(const char* name, const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  // Centred in its height: the dots over a capital letter may rise above the
  // font's ascent and would be cut off at the top of the label.
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

void PaintLabel(QLabel* label, const QColor& text, const QColor& background) {
  QPalette palette = label->palette();
  if (text.isValid()) palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Window, background);
  label->setPalette(palette);
  label->setAutoFillBackground(true);
}

QLineEdit* NewTextBox(const char* name, const QString& text, QWidget* parent) {
  auto* box = new QLineEdit(text, parent);
  box->setObjectName(name);
  return box;
}

QPushButton* NewButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new CaptionButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(true);  // Enter presses it as well as Space
  return button;
}

const char kImportCaption[] = "Import .dat";
const char kExportCaption[] = "Export plot";
const char kCoordinateFilter[] = "Airfoil coordinates (*.dat *.DAT *.txt *.arf)";
const char kAllFilesFilter[] = "All files (*)";
const char kPngFilter[] = "PNG image (*.png)";
const char kSvgFilter[] = "SVG drawing (*.svg)";

PlotLabelLook LabelLook(const QLabel* label) {
  return {label->geometry(), label->font(), label->palette().color(QPalette::WindowText),
          label->palette().color(QPalette::Window), label->alignment()};
}

// A file name as the file system takes it.
std::string FileSystemName(const QString& name) { return QFile::encodeName(name).toStdString(); }

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code error;
  const bool same = std::filesystem::equivalent(a, b, error);
  return !error && same;
}

// The name as an absolute path, for telling files this window wrote.
std::string AbsoluteName(const std::string& name) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(name, error);
  return error ? name : absolute.lexically_normal().string();
}

}  // namespace

class FormQuilane::StatusMessages : public MessageService {
 public:
  StatusMessages(FormQuilane& form, MessageService& messages) : form_(form), messages_(messages) {}
  void Show(const std::string& text) override { form_.ShowMessage(text); }
  bool Ask(const std::string& text) override { return messages_.Ask(text); }

 private:
  FormQuilane& form_;
  MessageService& messages_;
};

FormQuilane::FormQuilane(AirfoilWorkspace& ws, MessageService& messages, QWidget* parent)
    : QMainWindow(parent),
      ws_(ws),
      messages_(messages),
      standard_dialogs_(std::make_unique<StandardFileDialogs>()),
      dialogs_(standard_dialogs_.get()) {
  Build();
}

FormQuilane::FormQuilane(MessageService& messages, QWidget* parent)
    : QMainWindow(parent),
      own_workspace_(std::make_unique<AirfoilWorkspace>()),
      ws_(*own_workspace_),
      messages_(messages),
      standard_dialogs_(std::make_unique<StandardFileDialogs>()),
      dialogs_(standard_dialogs_.get()) {
  Build();
}

FormQuilane::FormQuilane(AirfoilWorkspace& ws, MessageService& messages,
                         FileDialogService& dialogs, QWidget* parent)
    : QMainWindow(parent), ws_(ws), messages_(messages), dialogs_(&dialogs) {
  Build();
}

void FormQuilane::Build() {
  setObjectName("Form_Quilane");
  setWindowTitle(QString::fromLatin1(kWindowCaption));
  BuildControls();
  FitFont();
  BuildMenu();
  SetTabOrder();
  // Below the client area, which keeps its size and every control its place.
  status_bar_ = new QStatusBar(this);
  status_bar_->setObjectName("Status_Bar");
  status_bar_->setSizeGripEnabled(false);
  status_bar_->setFixedHeight(kStatusBarHeight);
  status_text_ = new StatusLine(status_bar_);
  status_text_->setObjectName("Status_Text");
  status_bar_->addWidget(status_text_, 1);
  setStatusBar(status_bar_);
  ShowStatus(StartHint());
  // No resizing: the window is as large as its menu bar, client area and
  // status bar, whatever the status line says.
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  // Window load.
  ws_.Pi = 4 * std::atan(1.0);
  browser_->Start(QDir::currentPath());
}

FormQuilane::~FormQuilane() = default;

void FormQuilane::BuildControls() {
  client_ = new QWidget(this);
  client_->setObjectName("Form_Quilane_Client");
  client_->setFixedSize(kClientWidth, kClientHeight);
  QPalette palette = client_->palette();
  palette.setColor(QPalette::Window, kWindowBackground);
  client_->setPalette(palette);
  client_->setAutoFillBackground(true);
  setCentralWidget(client_);

  // Method settings.
  frame5_ = NewFrame("Frame5", client_);
  PlaceTwips(frame5_, 120, 6960, 3495, 1455);
  chk_mapping_ = new QCheckBox("Conformal Mapping", frame5_);
  chk_mapping_->setObjectName("Chk_Mapping");
  PlaceTwips(chk_mapping_, 120, 1080, 1815, 255);
  text_npoly_ = NewTextBox("Text_nPoly", "1", frame5_);
  PlaceTwips(text_npoly_, 3000, 240, 375, 285);
  option_pwcubic_ = new QRadioButton("PW Cubic Spline Interp.", frame5_);
  option_pwcubic_->setObjectName("Option_PwCubic");
  PlaceTwips(option_pwcubic_, 120, 720, 2055, 255);
  option_lagrange_ = new QRadioButton("Lagrange Interpolation ----> nPoly =", frame5_);
  option_lagrange_->setObjectName("Option_Lagrange");
  PlaceTwips(option_lagrange_, 120, 240, 2775, 255);
  option_lagrange_->setChecked(true);

  // File browser and save box.
  frame3_ = NewFrame("Frame3", client_);
  PlaceTwips(frame3_, 240, 1080, 5295, 3255);
  frame4_ = NewFrame("Frame4", frame3_);
  PlaceTwips(frame4_, 360, 720, 2295, 1695);
  text_save_ = NewTextBox("Text_Save", QString(), frame4_);
  PlaceTwips(text_save_, 120, 240, 2055, 375);
  command_save_ = NewButton("Command_Save", "Print new file name and click", frame4_);
  PlaceTwips(command_save_, 120, 840, 2055, 615);
  file1_ = new FileList(frame3_);
  file1_->setObjectName("File1");
  PlaceTwips(file1_, 2880, 240, 2295, 2820);
  dir1_ = new DirList(frame3_);
  dir1_->setObjectName("Dir1");
  PlaceTwips(dir1_, 120, 600, 2655, 2340);
  drive1_ = new DriveList(frame3_);
  drive1_->setObjectName("Drive1");
  PlaceTwips(drive1_, 120, 240, 2655, 315);
  // Panels: nothing of the plot under the browser, or of the lists under the
  // save box, shows through.
  for (QFrame* panel : {frame3_, frame4_}) {
    panel->setAutoFillBackground(true);
  }
  frame4_->hide();
  frame3_->hide();

  // Point count and the calculate button.
  frame2_ = NewFrame("Frame2", client_);
  PlaceTwips(frame2_, 3240, 120, 5895, 735);
  command1_ = NewButton("Command1", "Calculate and Show new airfoil points", frame2_);
  PlaceTwips(command1_, 2760, 240, 2895, 375);
  text_ni_ = NewTextBox("Text_NI", "51", frame2_);
  PlaceTwips(text_ni_, 2040, 240, 495, 285);
  label1_ = NewLabel("Label1", "Number of new points =", frame2_);
  PlaceTwips(label1_, 240, 240, 1695, 255);

  // Zoom.
  frame1_ = NewFrame("Frame1", client_);
  PlaceTwips(frame1_, 4440, 6960, 3495, 735);
  text_scale_ = NewTextBox("Text_Scale", "1", frame1_);
  // It shows the zoom factor; typing in it would have no effect, so it takes
  // none and looks like a display, not an input.
  text_scale_->setReadOnly(true);
  {
    QPalette display = text_scale_->palette();
    display.setColor(QPalette::Base, kWindowBackground);
    text_scale_->setPalette(display);
  }
  PlaceTwips(text_scale_, 720, 240, 495, 285);
  hscroll_olcek_ =
      new CommittedScrollBar(Qt::Horizontal, kZoomBarMin, kZoomBarMax, kZoomBarStart, frame1_);
  hscroll_olcek_->setObjectName("HScroll_Olcek");
  PlaceTwips(hscroll_olcek_, 1200, 240, 2055, 255);
  label2_ = NewLabel("Label2", QStringLiteral("\u00D6l\u00E7ek"), frame1_);
  PlaceTwips(label2_, 240, 240, 495, 255);
  PaintLabel(label2_, QColor(), QApplication::palette("QMenu").color(QPalette::Window));

  // The plot, its offset bars and its titles.
  picture_airfoil_ = new PictureAirfoil(kPlotBackground, client_);
  picture_airfoil_->setObjectName("Picture_Airfoil");
  PlaceTwips(picture_airfoil_, 120, 960, 12000, 6000);
  picture_airfoil_->setFocusPolicy(Qt::TabFocus);
  vscroll_y0_ = new CommittedScrollBar(Qt::Vertical, kY0BarMin, kY0BarMax, 0, picture_airfoil_);
  vscroll_y0_->setObjectName("VScroll_Y0");
  PlaceTwips(vscroll_y0_, 11760, 0, 255, 6015);
  hscroll_x0_ = new CommittedScrollBar(Qt::Horizontal, kX0BarMin, kX0BarMax, 0, picture_airfoil_);
  hscroll_x0_->setObjectName("HScroll_X0");
  PlaceTwips(hscroll_x0_, 0, 5760, 11775, 255);
  label4_ = NewLabel("Label4", QString(), picture_airfoil_);
  PlaceTwips(label4_, 8040, 120, 3255, 255);
  PaintLabel(label4_, kPlotTitleColour, kPlotBackground);
  label3_ = NewLabel("Label3", QString(), picture_airfoil_);
  PlaceTwips(label3_, 2400, 120, 3255, 255);
  PaintLabel(label3_, kAirfoilTitleColour, kPlotBackground);

  // Stacking: a control listed earlier lies above a later one (Frame3 over
  // the plot). raise() puts a control on top of its siblings, so go from the
  // bottom of the list to its top.
  QWidget* const stacking[] = {
      frame5_,    chk_mapping_,   text_npoly_,   option_pwcubic_, option_lagrange_, frame3_,
      frame4_,    text_save_,     command_save_, file1_,          dir1_,            drive1_,
      frame2_,    command1_,      text_ni_,      label1_,         frame1_,          text_scale_,
      hscroll_olcek_, label2_,    picture_airfoil_, vscroll_y0_,  hscroll_x0_,      label4_,
      label3_};
  for (auto it = std::rbegin(stacking); it != std::rend(stacking); ++it) {
    (*it)->raise();
  }

  browser_messages_ = std::make_unique<StatusMessages>(*this, messages_);
  browser_ = new FileBrowser(drive1_, dir1_, file1_, *browser_messages_, this);

  connect(file1_, &FileList::FileChosen, this, &FormQuilane::FileChosen);
  connect(command_save_, &QPushButton::clicked, this, &FormQuilane::SaveClicked);
  connect(text_save_, &QLineEdit::returnPressed, this, &FormQuilane::SaveClicked);
  // Escape anywhere in the window while the browser is shown (a shortcut of
  // a hidden widget is inactive).
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), frame3_);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &FormQuilane::HideBrowser);
  connect(command1_, &QPushButton::clicked, this, &FormQuilane::CalculateClicked);
  connect(hscroll_olcek_, &CommittedScrollBar::Committed, this, &FormQuilane::ZoomCommitted);
  connect(hscroll_x0_, &CommittedScrollBar::Committed, this, &FormQuilane::OffsetXCommitted);
  connect(vscroll_y0_, &CommittedScrollBar::Committed, this, &FormQuilane::OffsetYCommitted);
  connect(picture_airfoil_, &PictureAirfoil::WheelTurned, this, &FormQuilane::PlotWheelTurned);
  connect(picture_airfoil_, &PictureAirfoil::Dragged, this, &FormQuilane::PlotDragged);
  // Zoom keys anywhere in the window; a text box that takes the character
  // typed keeps it.
  const std::pair<QKeySequence, bool> zoom_keys[] = {{QKeySequence(Qt::Key_Plus), true},
                                                     {QKeySequence(Qt::Key_Equal), true},
                                                     {QKeySequence(Qt::Key_Minus), false}};
  for (const auto& [keys, in] : zoom_keys) {
    auto* zoom = new QShortcut(keys, this);
    zoom->setContext(Qt::WindowShortcut);
    connect(zoom, &QShortcut::activated, this, [this, in = in] { StepZoom(in); });
  }
}

bool FormQuilane::CaptionsFit() const {
  const QWidget* const captioned[] = {label1_, label2_, chk_mapping_, option_lagrange_,
                                      option_pwcubic_, command1_};
  for (const QWidget* control : captioned) {
    const QSize needed = control->sizeHint();
    if (needed.width() > control->width() || needed.height() > control->height()) return false;
  }
  return static_cast<const CaptionButton*>(command_save_)->WrappedHeight() <= command_save_->height();
}

void FormQuilane::FitFont() {
  // The geometry was laid out for a small, narrow font; the toolkit's default
  // family is kept, at the largest size (up to its own) at which no caption
  // is cut.
  QFont font = QApplication::font();
  for (int pixels = QFontInfo(font).pixelSize(); pixels >= kSmallestFontPixels; --pixels) {
    font.setPixelSize(pixels);
    client_->setFont(font);
    if (CaptionsFit()) break;
  }
  // One size everywhere: the menu, the message boxes and the dialogs read
  // like the controls.
  QApplication::setFont(font);
}

void FormQuilane::BuildMenu() {
  mn_file_ = menuBar()->addMenu("&File");
  mn_file_->setObjectName("Mn_File");
  mn_file_->menuAction()->setObjectName("Mn_File_Title");
  mn_open_ = mn_file_->addAction("&Open");
  mn_open_->setObjectName("Mn_Open");
  mn_open_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  mn_import_dat_ = mn_file_->addAction(QStringLiteral("&Import .dat\u2026"));
  mn_import_dat_->setObjectName("Mn_ImportDat");
  mn_save_ = mn_file_->addAction("&Save");
  mn_save_->setObjectName("Mn_Save");
  mn_save_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  mn_export_plot_ = mn_file_->addAction(QStringLiteral("&Export plot\u2026"));
  mn_export_plot_->setObjectName("Mn_ExportPlot");
  mn_file_->addSeparator();
  mn_quit_ = mn_file_->addAction("&Quit");
  mn_quit_->setObjectName("Mn_Quit");
  mn_quit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(mn_quit_, &QAction::triggered, this, &QWidget::close);
  mn_calculation_ = menuBar()->addMenu("&Calculation");
  mn_calculation_->setObjectName("Mn_Calculation");
  mn_on_spline_ = mn_calculation_->addAction("&Place new points on a spline through the input");
  mn_on_spline_->setObjectName("Mn_OnSpline");
  mn_on_spline_->setCheckable(true);
  mn_about_ = menuBar()->addAction("&About");
  mn_about_->setObjectName("Mn_About");
  connect(mn_open_, &QAction::triggered, this, &FormQuilane::OpenClicked);
  connect(mn_import_dat_, &QAction::triggered, this, &FormQuilane::ImportDatClicked);
  connect(mn_save_, &QAction::triggered, this, &FormQuilane::SaveMenuClicked);
  connect(mn_export_plot_, &QAction::triggered, this, &FormQuilane::ExportPlotClicked);
  connect(mn_about_, &QAction::triggered, this, &FormQuilane::AboutClicked);
}

void FormQuilane::SetTabOrder() {
  // Frames and labels keep their place in the order but never take the focus,
  // so the chain links the controls that do.
  QWidget* const order[] = {picture_airfoil_, hscroll_olcek_, text_scale_,    hscroll_x0_,
                            vscroll_y0_,      text_ni_,       drive1_,        dir1_,
                            file1_,           command1_,      option_lagrange_, command_save_,
                            text_save_,       option_pwcubic_, text_npoly_,   chk_mapping_};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
    QWidget::setTabOrder(order[i], order[i + 1]);
  }
}

// --------------------------------------------------------------- plot, view

void FormQuilane::ShowMessage(const std::string& text) {
  ShowLine(FirstLine(text));
  messages_.Show(text);
}

void FormQuilane::ShowRefusal(const Refusal& refusal) {
  ShowLine(RefusalStatus(refusal));
  messages_.Show(refusal.message);
}

void FormQuilane::SetScrollX0(int value) {
  if (value == hscroll_x0_->value() && ws_.PlotX0 != OffsetX(value)) {
    OffsetXCommitted(value);
    return;
  }
  hscroll_x0_->setValue(value);
}

void FormQuilane::SetScrollOlcek(int value) { hscroll_olcek_->setValue(value); }

void FormQuilane::SetScrollY0(int value) {
  if (value == vscroll_y0_->value() && ws_.PlotY0 != OffsetY(value)) {
    OffsetYCommitted(value);
    return;
  }
  vscroll_y0_->setValue(value);
}

void FormQuilane::SetTitles(const std::string& airfoil_title, const std::string& plot_title) {
  // A title longer than its label is shortened; the whole title is the
  // label's tooltip.
  auto show = [](QLabel* label, const QString& title) {
    const QString shown = ShownTitle(title, label->fontMetrics(), label->contentsRect().width());
    label->setText(shown);
    label->setToolTip(shown == title ? QString() : title);
  };
  show(label3_, TitleText(airfoil_title));
  show(label4_, TitleText(plot_title));
}

void FormQuilane::ShowAirfoil(int N, const PointArray& X, const PointArray& Y, int NI,
                              const PointArray& XI, const PointArray& YI) {
  quilane::ShowAirfoil(ws_, *picture_airfoil_, *this, N, X, Y, NI, XI, YI);
}

void FormQuilane::Redraw() { ShowAirfoil(ws_.N, ws_.X, ws_.Y, ws_.NI, ws_.XI, ws_.YI); }

// ------------------------------------------------------------------- events

void FormQuilane::OpenClicked() {
  RememberFocus();
  file1_->Refresh();  // files made since the folder was chosen show up
  frame3_->show();
  // Ready for the keyboard: the file list, or the folders when it is empty.
  if (file1_->count() > 0) {
    file1_->setFocus(Qt::ShortcutFocusReason);
  } else {
    dir1_->setFocus(Qt::ShortcutFocusReason);
  }
}

void FormQuilane::HideBrowser() {
  CloseBrowser(/*file_read=*/false);  // first, while the focus is still inside
  frame4_->hide();
  // A refusal of the save box no longer holds once the box is gone.
  if (save_refused_) ShowLine(state_status_);
}

bool FormQuilane::FileRead() {
  if (ws_.FileLoaded) return true;
  ShowRefusal(Refusal(RefusalCode::kNoContour, kOpenFileMessage));
  return false;
}

void FormQuilane::RememberFocus() {
  QWidget* const focused = focusWidget();
  if (focused != nullptr && !frame3_->isAncestorOf(focused)) return_focus_ = focused;
}

void FormQuilane::CloseBrowser(bool file_read) {
  QWidget* const focused = focusWidget();
  const bool focus_inside = focused == nullptr || frame3_->isAncestorOf(focused);
  frame3_->hide();
  if (!focus_inside) return;
  // Hiding the focused list or box would hand the focus on to the next
  // control in the tab order, often one a Space changes unseen.
  QWidget* back = file_read ? command1_ : return_focus_.data();
  if (back == nullptr || !back->isVisible() || !back->isEnabled()) back = command1_;
  back->setFocus(Qt::OtherFocusReason);
}

void FormQuilane::SaveMenuClicked() {
  if (!FileRead()) return;
  RememberFocus();
  file1_->Refresh();
  frame3_->show();
  frame4_->show();
  // The file read: the name selected in File1, or the name of the file imported.
  QString proposed = file1_->FileName();
  if (proposed.isEmpty()) {
    proposed = QFileInfo(QFile::decodeName(QByteArray::fromStdString(ws_.InputPath))).fileName();
  }
  text_save_->setText(proposed);
  FocusSaveName();
}

void FormQuilane::FocusSaveName() {
  text_save_->setFocus(Qt::OtherFocusReason);
  text_save_->selectAll();
}

void FormQuilane::AboutClicked() {
  if (about_ == nullptr) {
    about_ = new AboutWindow(this);
    about_->setAttribute(Qt::WA_QuitOnClose, false);
  }
  about_->ShowOver(this);
  about_->raise();
  about_->activateWindow();
}

void FormQuilane::FileChosen(const QString& name) {
  const std::string path =
      FileSystemName(QDir::toNativeSeparators(file1_->Path()) + QDir::separator() + name);
  CloseBrowser(/*file_read=*/true);
  const Expected<LoadedFile> read = LoadArfFile(path);
  if (!read) {
    ShowRefusal(read.error());
    return;
  }
  Loaded(*read, LoadStatus(name.toStdString(), read->summary));
}

void FormQuilane::Loaded(const LoadedFile& file, const std::string& status) {
  LoadIntoWorkspace(file, ws_);
  Redraw();
  ShowStatus(status);
}

void FormQuilane::ImportDatClicked() {
  const QString chosen =
      dialogs_->OpenFileName(this, QString::fromLatin1(kImportCaption), file1_->Path(),
                             {QString::fromLatin1(kCoordinateFilter),
                              QString::fromLatin1(kAllFilesFilter)});
  if (chosen.isEmpty()) return;
  // The steps of a choice in File1, with the reader that fits the content.
  CloseBrowser(/*file_read=*/true);
  const Expected<LoadedFile> read =
      LoadCoordinateFile(FileSystemName(QDir::toNativeSeparators(chosen)));
  if (!read) {
    ShowRefusal(read.error());
    return;
  }
  // The name selected in File1 stands for the file read (the save box
  // proposes it and refuses it); it is no longer that file.
  file1_->clearSelection();
  Loaded(*read, LoadStatus(QFileInfo(chosen).fileName().toStdString(), read->summary));
}

void FormQuilane::ExportPlotClicked() {
  QString filter = export_filter_.isEmpty() ? QString::fromLatin1(kPngFilter) : export_filter_;
  // Proposed: the input file's name with the picture's suffix, in the folder
  // of the last picture, else the current directory (where saves go).
  const QString input = QFile::decodeName(QByteArray::fromStdString(ws_.InputPath));
  const QString base = ws_.FileLoaded ? QFileInfo(input).completeBaseName() : QString("plot");
  const QString folder = export_folder_.isEmpty() ? QDir::currentPath() : export_folder_;
  const QString proposed = QDir(folder).filePath(base + '.' + FilterSuffix(filter));
  const QString chosen =
      dialogs_->SaveFileName(this, QString::fromLatin1(kExportCaption), proposed,
                             {QString::fromLatin1(kPngFilter), QString::fromLatin1(kSvgFilter)},
                             &filter);
  if (chosen.isEmpty()) return;
  export_filter_ = filter;
  const PlotFile file = ResolvePlotFile(chosen, filter);
  export_folder_ = QFileInfo(file.path).absolutePath();
  if (const auto refused = ExportPlot(ws_, CurrentPlotLook(), file)) {
    ShowRefusal(*refused);
    return;
  }
  ShowStatus(ExportStatus(QFile::encodeName(file.path).toStdString()));
}

PlotLook FormQuilane::CurrentPlotLook() const {
  return {picture_airfoil_->size(), picture_airfoil_->Background(), LabelLook(label3_),
          LabelLook(label4_), static_cast<double>(picture_airfoil_->logicalDpiX())};
}

bool FormQuilane::WouldOverwriteInput(const std::string& typed) const {
  return SameFile(typed, ws_.InputPath) || SameFile(CamberFileName(typed), ws_.InputPath);
}

bool FormQuilane::MayReplace() {
  for (const std::string& name : {ws_.SaveName, ws_.CamberName}) {
    std::error_code error;
    if (!std::filesystem::exists(name, error) || written_.count(AbsoluteName(name)) > 0) continue;
    if (messages_.Ask("\"" + name + "\" already exists.\n" + kReplaceQuestion)) return true;
    ShowLine(KeptStatus(name));
    return false;
  }
  return true;
}

void FormQuilane::RefuseSave(const Refusal& refusal) {
  ShowRefusal(refusal);
  save_refused_ = true;
  FocusSaveName();  // to mend the name at once
}

void FormQuilane::SaveClicked() {
  if (!FileRead()) return;
  const QString typed = text_save_->text();
  if (typed.trimmed().isEmpty()) {
    RefuseSave(Refusal(RefusalCode::kBadFileName, kEmptyNameMessage));
    return;
  }
  ws_.SaveName = FileSystemName(typed);
  if (typed == file1_->FileName() || WouldOverwriteInput(ws_.SaveName)) {
    RefuseSave(Refusal(RefusalCode::kReplacesInput, kSameNameMessage));
    return;
  }
  ws_.CamberName = CamberFileName(ws_.SaveName);
  const ResultFiles request = SaveRequestOf(ws_);
  // A folder is named as a folder before any question of replacing it.
  if (const auto refused = CheckResultFileNames(request)) {
    RefuseSave(*refused);
    return;
  }
  if (!MayReplace()) {
    FocusSaveName();
    return;
  }
  // Written while the box is still shown, so that a failure leaves the
  // keyboard in the name box.
  if (const auto refused = WriteResultFiles(request)) {
    RefuseSave(*refused);
    return;
  }
  written_.insert(AbsoluteName(ws_.SaveName));
  written_.insert(AbsoluteName(ws_.CamberName));
  CloseBrowser(/*file_read=*/false);
  frame4_->hide();
  file1_->Refresh();  // a file saved into the listed folder shows up
  ShowStatus(SaveStatus(AbsoluteName(ws_.SaveName), AbsoluteName(ws_.CamberName)));
}

TypedSettings FormQuilane::CurrentSettings() const {
  TypedSettings typed;
  typed.points = text_ni_->text().toStdString();
  typed.route = chk_mapping_->isChecked() ? Route::kConformalMapping : Route::kAlongChord;
  typed.method = option_lagrange_->isChecked() ? Method::kLagrange : Method::kPwCubic;
  typed.degree = typed.method == Method::kLagrange ? text_npoly_->text().toStdString() : "";
  typed.on_spline = mn_on_spline_->isChecked();
  return typed;
}

void FormQuilane::CalculateClicked() {
  if (!FileRead()) return;
  const Expected<RedistributeSettings> settings = ReadSettings(CurrentSettings());
  if (!settings) {
    ShowRefusal(settings.error());
    return;
  }
  const Expected<RedistributeResult> result = Redistribute(SectionOfWorkspace(ws_), *settings);
  if (!result) {
    ShowRefusal(result.error());
    return;
  }
  StoreResult(*result, ws_);
  ws_.PlotX0 = 0.0;
  ws_.PlotY0 = 0.0;
  ws_.PlotScale = 1.0;
  // Each bar's change handling redraws at once when its value changes.
  SetScrollX0(0);
  SetScrollOlcek(0);
  SetScrollY0(0);
  Redraw();
  ShowStatus(RunStatus(*settings, result->report));
}

void FormQuilane::ShowStatus(const std::string& text) {
  state_status_ = text;
  ShowLine(text);
}

void FormQuilane::ShowLine(const std::string& text) {
  save_refused_ = false;
  if (status_text_ == nullptr) return;  // not built yet
  status_text_->SetLine(QString::fromStdString(text));
}

QString FormQuilane::StatusText() const { return status_text_->Line(); }

void FormQuilane::ZoomCommitted(int value) {
  const double s = ZoomFactor(value);
  ws_.PlotScale = s;
  // Fifteen significant digits, as a person reads the factor: 1 + (-4) / 5
  // is 0.19999999999999996 in binary and shows as 0.2.
  text_scale_->setText(QString::fromStdString(FormatMessageNumber(s)));
  Redraw();
}

void FormQuilane::StepZoom(bool in) {
  hscroll_olcek_->triggerAction(in ? QAbstractSlider::SliderSingleStepAdd
                                   : QAbstractSlider::SliderSingleStepSub);
}

void FormQuilane::OffsetXCommitted(int value) {
  ws_.PlotX0 = OffsetX(value);
  Redraw();
}

void FormQuilane::OffsetYCommitted(int value) {
  ws_.PlotY0 = OffsetY(value);
  Redraw();
}

PlotView FormQuilane::CurrentView() const {
  const double scale = ws_.PlotScale > 0 ? ws_.PlotScale : ZoomFactor(hscroll_olcek_->value());
  return {scale, ws_.PlotX0, ws_.PlotY0};
}

SurfaceSpan FormQuilane::PlotSpan() const {
  return {static_cast<double>(std::max(1, picture_airfoil_->width())),
          static_cast<double>(std::max(1, picture_airfoil_->height())), kPlotWidth, kPlotHeight};
}

void FormQuilane::ApplyView(const PlotView& view, int zoom_bar) {
  ws_.PlotScale = view.scale;
  ws_.PlotX0 = view.x0;
  ws_.PlotY0 = view.y0;
  text_scale_->setText(QString::fromStdString(FormatMessageNumber(view.scale)));
  hscroll_olcek_->ShowValue(zoom_bar);
  hscroll_x0_->ShowValue(NearestX0Bar(view.x0));
  vscroll_y0_->ShowValue(NearestY0Bar(view.y0));
  Redraw();
}

void FormQuilane::PlotWheelTurned(int notches, QPointF at) {
  // Far from the int limits: the range is small and a notch count is too.
  const int bar = static_cast<int>(std::clamp<long long>(
      static_cast<long long>(hscroll_olcek_->value()) + notches, hscroll_olcek_->minimum(),
      hscroll_olcek_->maximum()));
  if (bar == hscroll_olcek_->value()) return;
  ApplyView(ZoomedAbout(CurrentView(), PlotSpan(), ZoomFactor(bar), at.x(), at.y()), bar);
}

void FormQuilane::PlotDragged(QPointF step) {
  ApplyView(DraggedView(CurrentView(), PlotSpan(), step.x(), step.y()), hscroll_olcek_->value());
}

void FormQuilane::closeEvent(QCloseEvent* event) {
  if (about_ != nullptr) about_->close();
  QMainWindow::closeEvent(event);
}

}  // namespace quilane
