#include "exchange/ImportValues.h"

#include <QDate>
#include <QRegularExpression>

#include "core/Utils.h"

namespace {
// An empty date box stores its mask.
const QString kEmptyDate = QStringLiteral("  /  /    ");

TCellValue Fails(const char* problem) {
  return {std::nullopt, QLatin1String(problem)};
}

// The sign and the dollar sign around a number: "-$1,000", "$-5", "(5.00)", "5.00-".
struct TSigned {
  QString Digits;
  bool Negative = false;
};

TSigned StripSign(QString t) {
  TSigned s;
  if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
    s.Negative = true;
    t = t.mid(1, t.size() - 2).trimmed();
  }
  for (int pass = 0; pass < 2; ++pass) {
    if (t.startsWith(QLatin1Char('-')) && !s.Negative) {
      s.Negative = true;
      t = t.mid(1).trimmed();
    }
    if (t.startsWith(QLatin1Char('$'))) t = t.mid(1).trimmed();
  }
  if (t.endsWith(QLatin1Char('-')) && !s.Negative) {
    s.Negative = true;
    t.chop(1);
  }
  s.Digits = t;
  return s;
}

// Thousands grouping of each decimal symbol: with a point, commas; with a comma, points, spaces
// (also the no-break ones) or apostrophes.
const QRegularExpression& AmountForm(QChar decimal) {
  static const QRegularExpression point(QStringLiteral("^(\\d{1,3}(,\\d{3})+|\\d*)(\\.(\\d*))?$"));
  static const QRegularExpression comma(
      QStringLiteral("^(\\d{1,3}([. '\\x{00A0}\\x{202F}]\\d{3})+|\\d*)(,(\\d*))?$"));
  return decimal == QLatin1Char(',') ? comma : point;
}

QString Digits(const QString& text) {
  QString out;
  for (QChar c : text)
    if (c.isDigit()) out += c;
  return out;
}

// The day, month and year of a date's three numbers in the order given.
std::optional<QDate> DateOf(const QStringList& parts, TDateOrder order) {
  int y = 0, m = 0, d = 0;
  switch (order) {
    case TDateOrder::MDY:
      m = parts[0].toInt(), d = parts[1].toInt(), y = parts[2].toInt();
      break;
    case TDateOrder::DMY:
      d = parts[0].toInt(), m = parts[1].toInt(), y = parts[2].toInt();
      break;
    case TDateOrder::YMD:
      y = parts[0].toInt(), m = parts[1].toInt(), d = parts[2].toInt();
      break;
  }
  const qsizetype yearDigits = parts[order == TDateOrder::YMD ? 0 : 2].size();
  if (yearDigits == 2) {
    // Two-digit years fall in the window of fifty years either side of today, as typed ones do.
    const int now = QDate::currentDate().year();
    y += (now - 50) / 100 * 100;
    if (y < now - 50) y += 100;
  } else if (yearDigits != 4) {
    return std::nullopt;
  }
  const QDate date(y, m, d);
  if (!date.isValid()) return std::nullopt;
  return date;
}

QString OrderPattern(TDateOrder order) {
  switch (order) {
    case TDateOrder::DMY:
      return QStringLiteral("DD/MM/YYYY");
    case TDateOrder::YMD:
      return QStringLiteral("YYYY-MM-DD");
    case TDateOrder::MDY:
      break;
  }
  return QStringLiteral("MM/DD/YYYY");
}
}  // namespace

TCellValue ReadAmount(const QString& cell, QChar decimal) {
  const TSigned s = StripSign(cell.trimmed());
  if (s.Digits.isEmpty() && !s.Negative) return {0.0, {}};
  const QRegularExpressionMatch m = AmountForm(decimal).match(s.Digits);
  if (!m.hasMatch() || Digits(s.Digits).isEmpty()) return Fails("is not an amount");
  if (m.captured(4).size() > 2) return Fails("has more than two decimals (cents)");
  const QString whole = Digits(m.captured(1));
  const double value = (whole + QLatin1Char('.') + m.captured(4) + QLatin1Char('0')).toDouble();
  // The record model refuses a negative amount in its own words.
  return {s.Negative && value != 0 ? -value : value, {}};
}

TCellValue ReadFlag(const QString& cell) {
  const QString t = cell.trimmed().toLower();
  static const QStringList yes = {"true", "yes", "y", "1", "x"};
  static const QStringList no = {"false", "no", "n", "0", ""};
  if (yes.contains(t)) return {true, {}};
  if (no.contains(t)) return {false, {}};
  return Fails("is not a check mark (true/false, yes/no, 1/0, x or empty)");
}

TCellValue ReadWhole(const QString& cell, bool percent) {
  QString t = cell.trimmed();
  if (percent && t.endsWith(QLatin1Char('%'))) t.chop(1);
  if (t.isEmpty()) return {int32_t(0), {}};
  static const QRegularExpression whole(QStringLiteral("^-?\\d{1,9}([.,]0+)?$"));
  if (!whole.match(t).hasMatch()) return Fails("is not a whole number");
  return {int32_t(t.section(QRegularExpression(QStringLiteral("[.,]")), 0, 0).toInt()), {}};
}

TCellValue ReadDate(const QString& cell, TDateOrder order) {
  if (IsBlank(cell) || cell == kEmptyDate) return {cell, {}};
  QString t = cell.trimmed();
  // A spreadsheet may add the time of a date it holds as a moment: midnight says nothing.
  static const QRegularExpression midnight(QStringLiteral("\\s+0?0:00(:00)?$"));
  t.remove(midnight);
  static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
  static const QRegularExpression form(
      QStringLiteral("^(\\d{1,4})([/.-])(\\d{1,2})\\2(\\d{1,4})$"));
  std::optional<QDate> date;
  if (const auto m = iso.match(t); m.hasMatch()) {
    date = DateOf({m.captured(1), m.captured(2), m.captured(3)}, TDateOrder::YMD);
  } else if (const auto f = form.match(t); f.hasMatch()) {
    date = DateOf({f.captured(1), f.captured(3), f.captured(4)}, order);
  }
  if (date) return {EncodeDateText(date->month(), date->day(), date->year()), {}};
  // The day and month the other way round make a date: the file's order is another.
  if (const auto f = form.match(t); f.hasMatch() && order != TDateOrder::YMD) {
    const TDateOrder other = order == TDateOrder::MDY ? TDateOrder::DMY : TDateOrder::MDY;
    if (DateOf({f.captured(1), f.captured(3), f.captured(4)}, other))
      return {std::nullopt, QStringLiteral("is not a date in the order %1; the file may write "
                                           "dates as %2 (choose the date order)")
                                .arg(OrderPattern(order), OrderPattern(other))};
  }
  return {std::nullopt, QStringLiteral("is not a date (%1)").arg(OrderPattern(order))};
}

QString CellText(const TFieldDef& field, const QString& cell) {
  static const QRegularExpression lineBreak(QStringLiteral("[ \\t]*(\\r\\n|\\r|\\n)+[ \\t]*"));
  QString text = cell;
  if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
    text.replace(lineBreak, QStringLiteral(" "));
  return NormalizedText(field, text);
}

void TDecimalEvidence::Add(const QString& cell) {
  const QString t = StripSign(cell.trimmed()).Digits;
  if (t.isEmpty()) return;
  // A separator followed by one or two digits at the end is a decimal one; a point and a comma
  // both present tell by which comes last.
  static const QRegularExpression pointDecimal(
      QStringLiteral("^(\\d{1,3}(,\\d{3})+|\\d+)?\\.\\d{1,2}$"));
  static const QRegularExpression commaDecimal(
      QStringLiteral("^(\\d{1,3}([. '\\x{00A0}\\x{202F}]\\d{3})+|\\d+)?,\\d{1,2}$"));
  static const QRegularExpression pointGrouped(QStringLiteral("^\\d{1,3}(,\\d{3}){2,}$"));
  static const QRegularExpression commaGrouped(QStringLiteral("^\\d{1,3}(\\.\\d{3}){2,}$"));
  if (pointDecimal.match(t).hasMatch() || pointGrouped.match(t).hasMatch()) {
    if (!Point) PointCell = cell;
    Point = true;
  } else if (commaDecimal.match(t).hasMatch() || commaGrouped.match(t).hasMatch()) {
    if (!Comma) CommaCell = cell;
    Comma = true;
  }
}

bool IsScientific(const QString& cell) {
  static const QRegularExpression scientific(QStringLiteral("^[+-]?\\d+([.,]\\d+)?[eE][+-]?\\d+$"));
  return scientific.match(cell.trimmed()).hasMatch();
}

std::optional<QString> LeadingZeroRepair(const TFieldDef& field, const QString& cell) {
  const QString t = cell.trimmed();
  static const QRegularExpression shortZip(QStringLiteral("^(\\d{3,4})(-\\d{4})?$"));
  static const QRegularExpression eightDigits(QStringLiteral("^\\d{8}$"));
  if (field.Rule.Value == TValueKind::Zip) {
    if (const auto m = shortZip.match(t); m.hasMatch())
      return m.captured(1).rightJustified(5, QLatin1Char('0')) + m.captured(2);
    if (eightDigits.match(t).hasMatch()) {
      const QString nine = QLatin1Char('0') + t;
      return nine.left(5) + QLatin1Char('-') + nine.mid(5);
    }
  }
  if (field.Rule.Value == TValueKind::Tin && eightDigits.match(t).hasMatch())
    return QLatin1Char('0') + t;
  return std::nullopt;
}
