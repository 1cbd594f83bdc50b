#include "engine/Fonts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QRawFont>

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

struct TMetrics {
  QFontMetricsF Metrics;
  QRawFont Raw;  // the same font at the metric resolution, for widths without text shaping
};

const TMetrics& Metrics(const TFontSpec& font) {
  // Lives for the whole run and is never destroyed, so no font object outlives the application.
  static auto& cache = *new QHash<TMetricKey, TMetrics*>();
  const TMetricKey key{font.Name, font.Size, font.Style};
  auto it = cache.find(key);
  if (it == cache.end()) {
    const QFont f = MakeQFont(font, font.Size);
    auto* m = new TMetrics{QFontMetricsF(f, &MetricDevice()), QRawFont::fromFont(f)};
    m->Raw.setPixelSize(font.Size * kMetricDpi / 72.0);
    it = cache.insert(key, m);
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
  const TMetrics& m = Metrics(font);
  if (m.Raw.isValid()) {
    const QList<quint32> glyphs = m.Raw.glyphIndexesForString(text);
    if (glyphs.size() == text.size() && !glyphs.contains(0u)) {
      double width = 0;
      for (const QPointF& a : m.Raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics))
        width += a.x();
      return width / kMetricDpi;
    }
  }
  // Characters the font lacks come from a fallback font; let Qt lay those out.
  return m.Metrics.horizontalAdvance(text) / kMetricDpi;
}

double FontAscentInches(const TFontSpec& font) {
  return Metrics(font).Metrics.ascent() / kMetricDpi;
}
double FontDescentInches(const TFontSpec& font) {
  return Metrics(font).Metrics.descent() / kMetricDpi;
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
