// Renders the application icon from its SVG into the PNG sizes of the hicolor icon theme:
// zorvtrim-icons ICON.svg OUTDIR SIZE... writes OUTDIR/<SIZE>x<SIZE>/apps/<name>.png.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

bool HasOpaquePixels(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) == 255) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: zorvtrim-icons ICON.svg OUTDIR SIZE...\n");
    return 2;
  }
  const QString svgPath = QString::fromLocal8Bit(argv[1]);
  QSvgRenderer renderer(svgPath);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "zorvtrim-icons: cannot read %s\n", argv[1]);
    return 1;
  }
  const QString name = QFileInfo(svgPath).completeBaseName();
  for (int i = 3; i < argc; ++i) {
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
    if (!ok || size < 1 || size > 1024) {
      std::fprintf(stderr, "zorvtrim-icons: bad size %s\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    // An empty picture means the drawing did not render: never install a blank icon.
    if (!HasOpaquePixels(image)) {
      std::fprintf(stderr, "zorvtrim-icons: the %d px icon came out empty\n", size);
      return 1;
    }
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
    const QString out = folder + "/" + name + ".png";
    if (!QDir().mkpath(folder) || !image.save(out, "PNG")) {
      std::fprintf(stderr, "zorvtrim-icons: cannot write %s\n", qPrintable(out));
      return 1;
    }
  }
  return 0;
}
