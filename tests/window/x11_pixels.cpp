// Counts the pixels of one colour in a rectangle of an X window, as the
// screen shows it: for the end-to-end test's checks of what lies where.
//
//   x11_pixels WINDOW-ID X Y WIDTH HEIGHT RED GREEN BLUE
//
// Prints the count. Runs on the display of $DISPLAY.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
  if (argc != 9) {
    std::fprintf(stderr, "usage: %s WINDOW-ID X Y WIDTH HEIGHT RED GREEN BLUE\n", argv[0]);
    return 2;
  }
  QGuiApplication app(argc, argv);
  long values[8];
  for (int i = 0; i < 8; ++i) values[i] = std::strtol(argv[i + 1], nullptr, 0);
  const QImage image = QGuiApplication::primaryScreen()
                           ->grabWindow(static_cast<WId>(values[0]), static_cast<int>(values[1]),
                                        static_cast<int>(values[2]), static_cast<int>(values[3]),
                                        static_cast<int>(values[4]))
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
  if (image.isNull()) {
    std::fprintf(stderr, "%s: the window could not be read\n", argv[0]);
    return 1;
  }
  const QRgb wanted =
      qRgb(static_cast<int>(values[5]), static_cast<int>(values[6]), static_cast<int>(values[7]));
  long count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF)) ++count;
    }
  }
  std::printf("%ld\n", count);
  return 0;
}
