#include "storage/TinAnswers.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "platform/Exceptions.h"
#include "platform/SafeFile.h"
#include "storage/DataModule.h"
#include "storage/RecordSet.h"

namespace {
const QLatin1String kHeader("Papyra TIN matching answers 1");
constexpr int kMaxMatchName = 40;

bool NameChar(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') ||
         u == u' ' || u == u'-' || u == u'&';
}

// Letters with accents give their base letter ("Núñez" is "Nunez"); what is left outside the
// request's characters goes, so "O'Brien, Jr." is "OBrien Jr".
QString MatchNameOf(const QString& text) {
  QString kept;
  for (QChar c : text.normalized(QString::NormalizationForm_KD)) {
    if (NameChar(c))
      kept += c;
    else if (c.isSpace())
      kept += QLatin1Char(' ');
  }
  return kept.simplified().left(kMaxMatchName).trimmed();
}

std::optional<TTinAnswer> ParseAnswer(const QString& line) {
  const QStringList parts = line.split(QLatin1Char(';'));
  if (parts.size() != 4 || parts[0].size() != 9) return std::nullopt;
  bool ok = false;
  const int indicator = parts[2].toInt(&ok);
  const QDate date = QDate::fromString(parts[3], Qt::ISODate);
  if (!ok || indicator < 0 || indicator > kMaxTinIndicator || !date.isValid()) return std::nullopt;
  return TTinAnswer{{parts[0], parts[1]}, indicator, date};
}
}  // namespace

QString TinIndicatorText(int indicator) {
  static const char* const kTexts[] = {
      "Name and TIN match",
      "TIN missing or not a nine-digit number",
      "TIN not currently issued",
      "Name and TIN do not match",
      "Invalid request",
      "Duplicate request",
      "Matched as an SSN (type unknown)",
      "Matched as an EIN (type unknown)",
      "Matched as both an SSN and an EIN (type unknown)",
  };
  if (indicator < 0 || indicator > kMaxTinIndicator) return {};
  return QLatin1String(kTexts[indicator]);
}

TFindingLevel TinIndicatorLevel(int indicator) {
  switch (indicator) {
    case 0:
    case 6:
    case 7:
    case 8:
      return TFindingLevel::Note;
    case 4:
    case 5:
      return TFindingLevel::Warning;
    default:
      return TFindingLevel::Error;
  }
}

QString TinMatchName(const TPayeeRecord& payee) {
  if (payee.GetBool("Individual"))
    return MatchNameOf(payee.GetString("FirstName") + QLatin1Char(' ') +
                       payee.GetString("LastName"));
  return MatchNameOf(payee.GetString("PayeeName"));
}

TTinMatchKey TinMatchKeyOf(const TPayeeRecord& payee) {
  return {TinDigits(payee.GetString("SSN_IDNum")), TinMatchName(payee)};
}

size_t qHash(const TTinMatchKey& key, size_t seed) {
  return qHashMulti(seed, key.Tin, key.Name);
}

QString TTinAnswers::FileFor(const QString& payerOrPayeeFile) {
  return ChangeFileExt(payerOrPayeeFile, QStringLiteral(".TM25"));
}

TTinAnswers TTinAnswers::Load(const QString& file) {
  TTinAnswers answers;
  QFile in(file);
  if (!in.exists()) return answers;
  if (!in.open(QIODevice::ReadOnly))
    throw EInOutError(QStringLiteral("Cannot read \"%1\": %2").arg(file, in.errorString()));
  const QList<QByteArray> lines = in.readAll().split('\n');
  for (const QByteArray& raw : lines) {
    const QString line = QString::fromUtf8(raw).trimmed();
    if (auto answer = ParseAnswer(line)) answers.Put(*answer);
  }
  return answers;
}

void TTinAnswers::Save(const QString& file) const {
  if (FItems.empty()) {
    if (QFile::exists(file) && !QFile::remove(file))
      throw EInOutError(QStringLiteral("Cannot remove \"%1\"").arg(file));
    return;
  }
  QByteArray bytes = QByteArray(kHeader.data(), kHeader.size()) + '\n';
  for (const TTinAnswer& a : FItems)
    bytes += QStringLiteral("%1;%2;%3;%4\n")
                 .arg(a.Key.Tin, a.Key.Name)
                 .arg(a.Indicator)
                 .arg(a.Date.toString(Qt::ISODate))
                 .toUtf8();
  WriteFileSafely(file, bytes);
  // The numbers are the payees' own: no one else needs to read them.
  if (!QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
    throw EInOutError(QStringLiteral("Cannot make \"%1\" private to its owner").arg(file));
}

const TTinAnswer* TTinAnswers::Find(const TTinMatchKey& key) const {
  for (const TTinAnswer& a : FItems)
    if (a.Key == key) return &a;
  return nullptr;
}

void TTinAnswers::Put(const TTinAnswer& answer) {
  for (TTinAnswer& a : FItems)
    if (a.Key == answer.Key) {
      a = answer;
      return;
    }
  FItems.push_back(answer);
}

bool TTinAnswers::KeepOnly(const QSet<TTinMatchKey>& keys) {
  const auto gone = std::remove_if(FItems.begin(), FItems.end(),
                                   [&keys](const TTinAnswer& a) { return !keys.contains(a.Key); });
  const bool dropped = gone != FItems.end();
  FItems.erase(gone, FItems.end());
  return dropped;
}

QSet<TTinMatchKey> PayeeMatchKeys(TRecordSet& payees) {
  QSet<TTinMatchKey> keys;
  if (!payees.Active()) return keys;
  payees.RootRec();
  TScopeCleanup backToPayee([&payees] { payees.PopRec(); });
  const int count = payees.LastRecord();
  for (int i = 0; i < count; ++i) {
    payees.NextRec();
    TPayeeRecord payee;
    std::copy_n(payees.RecordBuffer(), TPayeeRecord::Size, payee.Data());
    keys.insert(TinMatchKeyOf(payee));
  }
  return keys;
}

QString TinAnswerText(const TTinAnswer& answer) {
  return QStringLiteral("TIN matching of %1: %2 (%3)")
      .arg(answer.Date.toString(QStringLiteral("MM/dd/yyyy")), TinIndicatorText(answer.Indicator))
      .arg(answer.Indicator);
}
