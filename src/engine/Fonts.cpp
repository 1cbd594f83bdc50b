#include "engine/Fonts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>

namespace {
// Metrics are taken at this resolution on an image, so neither the screen nor hinting changes
// where right-aligned and centred texts end.
constexpr double kMetricDpi = 1200.0;

QImage& MetricDevice() {
  static QImage image = [] {
    QImage img(1, 1, QImage::Format_RGB32);
    const int dpm = int(kMetricDpi / 0.0254 + 0.5);
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    return img;
  }();
  return image;
}

struct TMetricKey {
  QString Name;
  double Size;
  quint8 Style;
  bool operator==(const TMetricKey&) const = default;
};
size_t qHash(const TMetricKey& k, size_t seed = 0) {
  return qHashMulti(seed, k.Name, k.Size, k.Style);
}

const QFontMetricsF& Metrics(const TFontSpec& font) {
  static QHash<TMetricKey, QFontMetricsF*> cache;
  const TMetricKey key{font.Name, font.Size, font.Style};
  auto it = cache.find(key);
  if (it == cache.end()) {
    QFont f = MakeQFont(font, font.Size);
    it = cache.insert(key, new QFontMetricsF(f, &MetricDevice()));
  }
  return **it;
}
}  // namespace

const QList<TFontSubstitution>& FontSubstitutions() {
  static const QList<TFontSubstitution> list = {
      {"Courier New", "Liberation Mono", "monospace"},
      {"Arial", "Liberation Sans", "sans-serif"},
      {"Tahoma", "DejaVu Sans", "sans-serif"},
      {"Coronet", "Z003", "cursive"},
  };
  return list;
}

void RegisterFontSubstitutions() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const TFontSubstitution& s : FontSubstitutions())
    QFont::insertSubstitution(QString::fromLatin1(s.Name), QString::fromLatin1(s.Substitute));
}

QFont MakeQFont(const TFontSpec& font, double pointSize) {
  RegisterFontSubstitutions();
  QFont f(font.Name);
  f.setPointSizeF(pointSize > 0 ? pointSize : 1.0);
  f.setBold(font.Bold());
  f.setItalic(font.Italic());
  f.setUnderline(font.Underline());
  f.setStrikeOut(font.StrikeOut());
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setKerning(false);
  return f;
}

double TextWidthInches(const TFontSpec& font, const QString& text) {
  if (text.isEmpty()) return 0.0;
  return Metrics(font).horizontalAdvance(text) / kMetricDpi;
}

double FontAscentInches(const TFontSpec& font) {
  return Metrics(font).ascent() / kMetricDpi;
}
double FontDescentInches(const TFontSpec& font) {
  return Metrics(font).descent() / kMetricDpi;
}

QString CssFontFamily(const QString& name) {
  for (const TFontSubstitution& s : FontSubstitutions()) {
    if (name.compare(QLatin1String(s.Name), Qt::CaseInsensitive) == 0)
      return QStringLiteral("'%1', '%2', %3")
          .arg(QLatin1String(s.Substitute), QLatin1String(s.Name), QLatin1String(s.Generic));
  }
  QString safe = name;
  safe.remove(QLatin1Char('\'')).remove(QLatin1Char('"')).remove(QLatin1Char('<'));
  return QStringLiteral("'%1', sans-serif").arg(safe);
}
