// Build tool: renders the scalable program icon into the PNG sizes of the hicolor theme,
// OUT/<N>x<N>/apps/NAME.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 5) {
    std::fprintf(stderr, "usage: icon_render ICON.svg OUT_FOLDER NAME SIZE...\n");
    return 2;
  }
  QSvgRenderer svg(args[1]);
  if (!svg.isValid()) {
    std::fprintf(stderr, "icon_render: cannot read %s\n", qPrintable(args[1]));
    return 1;
  }
  for (const QString& size : args.mid(4)) {
    const int n = size.toInt();
    QImage image(n, n, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args[2], size);
    QDir().mkpath(dir);
    if (n <= 0 || !image.save(dir + QLatin1Char('/') + args[3] + QStringLiteral(".png"))) {
      std::fprintf(stderr, "icon_render: cannot write size %s\n", qPrintable(size));
      return 1;
    }
  }
  return 0;
}
