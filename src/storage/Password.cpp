#include "storage/Password.h"

namespace {
// Files written with another table cannot be opened with their password, so it never changes.
constexpr char16_t kPlain[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr char16_t kSubstitute[] =
    u"k-va9g!RSl@+uV/(2>qoW)%er;d#P1U_K<syDbI*Ej0^mp$QfF:nHZ4?.7T][G";
static_assert(sizeof kPlain == sizeof kSubstitute);

QString Translate(const QString& text, const char16_t* from, const char16_t* to) {
  const QStringView fromView(from);
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    const qsizetype at = fromView.indexOf(c);
    if (at >= 0) out.append(QChar(to[at]));
  }
  return out;
}
}  // namespace

QString ScramblePassword(const QString& text) {
  return Translate(text, kPlain, kSubstitute);
}

QString UnscramblePassword(const QString& text) {
  return Translate(text, kSubstitute, kPlain);
}
