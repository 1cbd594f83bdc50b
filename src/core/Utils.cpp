#include "core/Utils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QScopeGuard>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/SafeFile.h"

bool CopyFailed = false;

const char* const InvalidEINPrefixes[15] = {"00", "07", "08", "09", "17", "18", "19", "28",
                                            "29", "49", "69", "70", "78", "79", "89"};

TCharSet CharSet(const QString& chars) {
  TCharSet set;
  for (QChar c : chars)
    if (c.unicode() < 256) set.set(c.unicode());
  return set;
}

QString LeftChars(const QString& text, int count) {
  return text.left(qMax(0, count));
}

QString RightChars(const QString& text, int count) {
  return text.right(qMax(0, count));
}

QString MidChars(const QString& text, int position, int count) {
  if (count <= 0 || position > text.size()) return {};
  if (position < 1) {
    count += position - 1;
    position = 1;
    if (count <= 0) return {};
  }
  return text.mid(position - 1, count);
}

QString TextBefore(const QString& text, QChar ch) {
  const qsizetype at = text.indexOf(ch);
  return at < 0 ? QString() : text.left(at);
}

QString KeepChars(const QString& text, const TCharSet& set) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text)
    if (c.unicode() < 256 && set.test(c.unicode())) out.append(c);
  return out;
}

QString TrimText(const QString& text) {
  qsizetype first = 0, last = text.size();
  while (first < last && text[first].unicode() <= 32) ++first;
  while (last > first && text[last - 1].unicode() <= 32) --last;
  return text.mid(first, last - first);
}

bool IsBlank(const QString& text) {
  return TrimText(text).isEmpty();
}

QString TildeToCR(const QString& text) {
  QString out = text;
  out.replace(QLatin1Char('~'), QLatin1Char('\r'));
  return out;
}

QString DoubleAmpersands(const QString& text) {
  QString out = text;
  out.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return out;
}

QString AddPathDelimiter(const QString& path) {
  return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

int IndexOfText(const QString& text, const QStringList& list) {
  auto fold = [](const QString& s) {
    QString f = s;
    for (QChar& c : f)
      if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
    return f;
  };
  const QString key = fold(text);
  for (int i = 0; i < list.size(); ++i)
    if (fold(list[i]) == key) return i + 1;
  return 0;
}

// Rounds the shortest faithful decimal form of the value (17 significant digits), halves away
// from zero, so 0.005 gives 0.01 while 1.005 (stored as 1.00499999...) gives 1.00.
double RoundAmount(double value, int decimals) {
  if (!std::isfinite(value)) return 0;
  if (value == 0) return 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.16e", std::fabs(value));
  std::string digits;
  for (const char* p = buf; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits.push_back(*p);
  const int exp10 = std::atoi(std::strchr(buf, 'e') + 1);
  const int keep = exp10 + 1 + decimals;  // significant digits left of the cut
  if (keep >= static_cast<int>(digits.size())) return value;
  if (keep < 0) return 0;
  std::string kept = "0" + digits.substr(0, keep);
  if (digits[keep] >= '5') {
    int i = static_cast<int>(kept.size()) - 1;
    while (kept[i] == '9') kept[i--] = '0';
    ++kept[i];
  }
  std::string text = kept + "e" + std::to_string(exp10 + 1 - keep);
  const double result = std::strtod(text.c_str(), nullptr);
  return value < 0 ? -result : result;
}

namespace {
EConvertError NotANumber(const QString& text, const char* kind) {
  return EConvertError(
      QStringLiteral("'%1' is not a valid %2 value").arg(text, QLatin1String(kind)));
}
}  // namespace

double TextToFloat(const QString& text) {
  static const TCharSet allowed = CharSet(QStringLiteral("-.0123456789"));
  QString s = KeepChars(text, allowed);
  if (IsBlank(s)) s = QStringLiteral("0");
  if (s == QLatin1String("-")) s = QStringLiteral("-0");
  if (s == QLatin1String(".")) s = QStringLiteral("0.");
  static const QRegularExpression number(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
  if (!number.match(s).hasMatch()) throw NotANumber(s, "floating point");
  return s.toDouble();
}

int TextToInt(const QString& text) {
  static const TCharSet allowed = CharSet(QStringLiteral("-0123456789"));
  QString s = KeepChars(text, allowed);
  if (IsBlank(s)) s = QStringLiteral("0");
  if (s == QLatin1String("-")) s = QStringLiteral("-0");
  static const QRegularExpression number(QStringLiteral("^-?\\d+$"));
  bool ok = number.match(s).hasMatch();
  const qlonglong v = ok ? s.toLongLong(&ok) : 0;
  if (!ok || v < INT_MIN || v > INT_MAX) throw NotANumber(s, "integer");
  return static_cast<int>(v);
}

double FitFontSize(const QString& text, double widthInches) {
  const double r = RoundAmount(text.size() / widthInches, 2);
  return r <= 10 ? 12.0 : 120.0 / r;
}

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

QString FormatAmount(double amount) {
  static const QLocale us(QLocale::English, QLocale::UnitedStates);
  return us.toString(RoundAmount(amount, 2), 'f', 2);
}

QString FormatAmountPlain(double amount) {
  return QString::number(RoundAmount(amount, 2), 'f', 2);
}

namespace {
// Checks a text against a pattern where 'N' is a digit, '-' a dash and '0'..'9' in position 1
// may restrict the first digit (the caller does that). Length is taken of the trimmed text,
// characters of the text as passed in.
bool MatchesForm(const QString& text, const char* form) {
  const int len = static_cast<int>(std::strlen(form));
  if (TrimText(text).size() != len || text.size() < len) return false;
  for (int i = 0; i < len; ++i) {
    const QChar c = text[i];
    if (form[i] == '-' ? c != QLatin1Char('-') : !c.isDigit() || c.unicode() > '9') return false;
  }
  return true;
}
}  // namespace

bool IsValidSSN(const QString& text) {
  if (!MatchesForm(text, "NNN-NN-NNNN")) return false;
  if (text[0] == QLatin1Char('9')) return false;
  const QString t = text.left(11);
  return !(t.startsWith(QLatin1String("666")) || t.startsWith(QLatin1String("000")) ||
           t.mid(4, 2) == QLatin1String("00") || t.mid(7, 4) == QLatin1String("0000") ||
           t == QLatin1String("123-45-6789"));
}

bool IsValidEIN(const QString& text) {
  if (!MatchesForm(text, "NN-NNNNNNN")) return false;
  QStringList prefixes;
  for (const char* p : InvalidEINPrefixes) prefixes.append(QLatin1String(p));
  return IndexOfText(text.left(2), prefixes) == 0;
}

bool IsValidZip(const QString& text) {
  return MatchesForm(text, "NNNNN") || MatchesForm(text, "NNNNN-NNNN");
}

bool IsValidZipPlus4(const QString& text) {
  return MatchesForm(text, "NNNNN-NNNN");
}

bool IsValidPhone(const QString& text) {
  return MatchesForm(text, "NNN-NNN-NNNN");
}

bool IsValidRTN(const QString& text) {
  if (text.size() != 9) return false;
  static const int weights[8] = {3, 7, 1, 3, 7, 1, 3, 7};
  int sum = 0;
  for (int i = 0; i < 8; ++i) {
    int digit = 0;
    try {
      digit = TextToInt(text.mid(i, 1));
    } catch (const EConvertError&) {
      digit = 0;
    }
    sum += weights[i] * digit;
  }
  int check = 10 - sum % 10;
  if (check == 10) check = 0;
  if (text.mid(8, 1) != QString::number(check)) return false;
  return IsBlank(text) || text[0] != QLatin1Char('5');
}

bool ParseDateText(const QString& text, int& month, int& day, int& year) {
  static const QRegularExpression form(
      QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{1,4})\\s*$"));
  const QRegularExpressionMatch m = form.match(text);
  if (!m.hasMatch()) return false;
  month = m.captured(1).toInt();
  day = m.captured(2).toInt();
  year = m.captured(3).toInt();
  if (m.captured(3).size() <= 2) {
    // Two-digit years fall in the window of fifty years either side of today.
    const int now = QDate::currentDate().year();
    year += (now - 50) / 100 * 100;
    if (year < now - 50) year += 100;
  }
  return QDate(year, month, day).isValid();
}

bool IsValidDate(const QString& text) {
  int count = 0;
  for (QChar c : text)
    if ((c.isDigit() && c.unicode() <= '9') || c == QLatin1Char('/')) ++count;
  int m = 0, d = 0, y = 0;
  return count >= 10 && ParseDateText(text, m, d, y);
}

bool IsDateInRange(const QString& date, const QString& first, const QString& last) {
  auto toDate = [](const QString& t) {
    int m = 0, d = 0, y = 0;
    if (!ParseDateText(t, m, d, y))
      throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(t));
    return QDate(y, m, d);
  };
  const QDate d = toDate(date);
  return toDate(first) <= d && d <= toDate(last);
}

void DecodeDateText(const QString& text, int& month, int& day, int& year) {
  month = day = year = 0;
  if (!IsValidDate(text)) return;
  month = TextToInt(MidChars(text, 1, 2));
  day = TextToInt(MidChars(text, 4, 2));
  year = TextToInt(MidChars(text, 7, 4));
}

QString EncodeDateText(int month, int day, int year) {
  auto two = [](int v) {
    return v >= 0 && v < 10 ? QStringLiteral("0%1").arg(v) : QString::number(v);
  };
  return two(month) + QLatin1Char('/') + two(day) + QLatin1Char('/') + QString::number(year);
}

QString AddMonthsToDateText(const QString& text, int months) {
  if (!IsValidDate(text)) return {};
  int m = 0, d = 0, y = 0;
  ParseDateText(text, m, d, y);
  const QDate moved = QDate(y, m, d).addMonths(months);  // clamps to the month's last day
  return moved.toString(QStringLiteral("MM/dd/yyyy"));
}

QString MaskSSN(const QString& text) {
  return IsValidSSN(text) ? QStringLiteral("***-**-") + RightChars(TrimText(text), 4) : QString();
}

namespace {
[[noreturn]] void CopyError(const QString& reason) {
  CopyFailed = true;
  throw ECopyFileException(TildeToCR(
      QStringLiteral("The following error occured during the copy file process:~") + reason));
}

QString ErrnoText(int err) {
  return QString::fromLocal8Bit(std::strerror(err)) + QLatin1Char('.');
}

bool SameFile(const QByteArray& a, const QByteArray& b) {
  struct stat sa {
  }, sb{};
  return ::stat(a.constData(), &sa) == 0 && ::stat(b.constData(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Streams the source into the writer; a source that is not a regular file (a pipe would make
// the copy wait forever) is refused.
void CopyInto(const QString& source, TSafeFile& out) {
  const QByteArray src = QFile::encodeName(source);
  int in;
  do in = ::open(src.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  while (in < 0 && errno == EINTR);
  if (in < 0) CopyError(ErrnoText(errno));
  const auto closeIn = qScopeGuard([in] { ::close(in); });
  struct stat st {};
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode))
    CopyError(QDir::toNativeSeparators(source) + QStringLiteral(" is not a regular file."));
  QByteArray buffer(1 << 16, Qt::Uninitialized);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), size_t(buffer.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) CopyError(ErrnoText(errno));
    if (n == 0) return;
    out.Write(buffer.left(qsizetype(n)));
  }
}
}  // namespace

// The copy goes through the program's safe writer, so a failed copy never leaves a half-written
// target, and a file is never copied onto itself (which would truncate it to nothing).
void CopyFileChecked(const QString& source, const QString& target, bool failIfExists,
                     const TWriteOptions& options) {
  CopyFailed = false;
  const QByteArray src = QFile::encodeName(source), dst = QFile::encodeName(target);
  if (SameFile(src, dst))
    CopyError(QStringLiteral("The source and destination are the same file."));
  if (failIfExists && QFileInfo::exists(target)) CopyError(ErrnoText(EEXIST));
  try {
    TWriteOptions copy = options;
    copy.RecordFile = true;  // the copies made are those of payer files
    copy.Inputs.append(source);
    TSafeFile out(target, copy);
    CopyInto(source, out);
    out.Commit();
  } catch (const EInOutError& e) {
    CopyError(e.Message() + QLatin1Char('.'));
  }
}

quint16 CountFiles(const QString& mask) {
  const QFileInfo info(mask);
  QDir dir(info.absolutePath());
  const QStringList entries = dir.entryList(
      {info.fileName()}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  return static_cast<quint16>(entries.size());
}
