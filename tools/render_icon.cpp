// quilane-render-icon SVG SIZE... OUT_PREFIX
//
// Renders the program's SVG icon as square PNG pictures of the given sizes,
// OUT_PREFIX followed by SIZE and ".png", for the icon theme's fixed-size
// folders. Needs no display (Qt's offscreen platform is chosen when none is
// set).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "Usage: quilane-render-icon SVG SIZE... OUT_PREFIX\n");
    return 2;
  }
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "quilane-render-icon: %s is not a readable SVG drawing\n", argv[1]);
    return 1;
  }
  const std::string prefix = argv[argc - 1];
  for (int k = 2; k < argc - 1; ++k) {
    const int size = std::atoi(argv[k]);
    if (size < 1 || size > 1024) {
      std::fprintf(stderr, "quilane-render-icon: the size %s is not from 1 to 1024\n", argv[k]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    const std::string out = prefix + std::to_string(size) + ".png";
    if (!image.save(QString::fromStdString(out), "PNG")) {
      std::fprintf(stderr, "quilane-render-icon: cannot write %s\n", out.c_str());
      return 1;
    }
  }
  return 0;
}
