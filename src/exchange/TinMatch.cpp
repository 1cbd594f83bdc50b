#include "exchange/TinMatch.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "core/Utils.h"
#include "forms/FormQualifier.h"
#include "forms/FormRegistry.h"
#include "platform/Exceptions.h"
#include "platform/SafeFile.h"

namespace {
// A results file of 100,000 answers is a few megabytes; anything much larger is no results file.
constexpr qint64 kMaxResultsBytes = 64 * 1024 * 1024;

bool FilesTinMatchForm(const TPayeeRecord& payee, const TFormDef* only) {
  for (const TFormDef* def : FormDefs())
    if ((only ? def == only : IsTinMatchForm(*def)) && FormQualifies(def->FormType, payee.Data()))
      return true;
  return false;
}

QString DisplayName(const TPayeeRecord& payee) {
  const QString name = payee.GetString("PayeeName").simplified();
  return name.isEmpty() ? QStringLiteral("(no name)") : name;
}

std::optional<TTinResultLine> ParseResultLine(const QString& text, int line, QString& why) {
  const QStringList f = text.split(QLatin1Char(';'));
  if (f.size() != 4 && f.size() != 5) {
    why = QStringLiteral("it is not TINTYPE;TIN;NAME;ACCOUNT;INDICATOR");
    return std::nullopt;
  }
  TTinResultLine r;
  r.Line = line;
  bool typeOk = false, indicatorOk = false;
  r.TinType = f[0].trimmed().toInt(&typeOk);
  r.Tin = f[1].trimmed();
  r.Name = f[2].trimmed();
  if (f.size() == 5) r.Account = f[3].trimmed();
  r.Indicator = f.last().trimmed().toInt(&indicatorOk);
  if (!typeOk || r.TinType < 1 || r.TinType > 3)
    why = QStringLiteral("the TIN type \"%1\" is not 1, 2 or 3").arg(f[0].trimmed());
  else if (!indicatorOk || r.Indicator < 0 || r.Indicator > kMaxTinIndicator)
    why = QStringLiteral("the indicator \"%1\" is not 0 to 8").arg(f.last().trimmed());
  if (!why.isEmpty()) return std::nullopt;
  return r;
}

// The payee of an answer: the number and the name as sent; the IRS may return the name in
// capitals.
int PayeeOfAnswer(const TTinResultLine& r, const std::vector<TTinMatchKey>& keys) {
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i].Tin == r.Tin && keys[i].Name.compare(r.Name, Qt::CaseInsensitive) == 0)
      return int(i) + 1;
  return 0;
}
}  // namespace

bool IsTinMatchForm(const TFormDef& form) {
  return form.BackupWithholding;
}

QString TinMatchFormNames(const QString& sep, const QString& lastSep) {
  QStringList names;
  for (const TFormDef* def : FormDefs())
    if (IsTinMatchForm(*def)) names << QLatin1String(def->ShortName);
  const QString last = names.isEmpty() ? QString() : names.takeLast();
  return names.isEmpty() ? last : names.join(sep) + lastSep + last;
}

int TinMatchType(const TPayeeRecord& payee) {
  const bool individual = payee.GetBool("Individual");
  switch (TinTypeOf(payee.GetString("SSN_IDNum"))) {
    case TTinType::Ein:
      return individual ? 3 : 1;
    case TTinType::Ssn:
    case TTinType::Itin:
      return individual ? 2 : 3;
    default:
      return 3;
  }
}

QString TTinRequestLine::Text() const {
  return QStringLiteral("%1;%2;%3;%4").arg(TinType).arg(Tin, Name, Account);
}

TTinRequest BuildTinRequest(const std::vector<TPayeeRecord>& payees, const TFormDef* only) {
  TTinRequest request;
  request.Scope =
      only ? QStringLiteral("payees of %1").arg(QLatin1String(only->Name))
           : QStringLiteral("payees of Forms %1, the forms subject to backup withholding")
                 .arg(TinMatchFormNames(QStringLiteral(", "), QStringLiteral(" and ")));
  QHash<TTinMatchKey, int> sent;
  int outside = 0;
  for (size_t i = 0; i < payees.size(); ++i) {
    const TPayeeRecord& payee = payees[i];
    const int record = int(i) + 1;
    if (!FilesTinMatchForm(payee, only)) {
      ++outside;
      continue;
    }
    const TTinMatchKey key = TinMatchKeyOf(payee);
    const QString who = QStringLiteral("Payee %1 (%2)").arg(record).arg(DisplayName(payee));
    if (key.Tin.isEmpty()) {
      request.Left << who + QStringLiteral(": no taxpayer identification number of nine digits");
    } else if (key.Name.isEmpty()) {
      request.Left << who + QStringLiteral(": no name the IRS can match");
    } else if (sent.contains(key)) {
      request.Left << who + QStringLiteral(": the same number and name as payee %1, sent once")
                                .arg(sent.value(key));
    } else {
      sent.insert(key, record);
      request.Lines.push_back(
          {record, TinMatchType(payee), key.Tin, key.Name, QStringLiteral("PAYEE%1").arg(record)});
    }
  }
  if (outside > 0)
    request.Left
        << QStringLiteral("%1 payee(s) file none of these forms and were left out").arg(outside);
  return request;
}

std::vector<QByteArray> TinRequestFiles(const TTinRequest& request) {
  std::vector<QByteArray> files;
  for (size_t i = 0; i < request.Lines.size(); ++i) {
    if (i % kMaxTinMatchLines == 0) files.emplace_back();
    // Names hold only letters, digits, spaces, hyphens and ampersands: the line is ASCII.
    files.back() += request.Lines[i].Text().toLatin1() + "\r\n";
  }
  return files;
}

QStringList TinRequestFileNames(const QString& out, int files) {
  if (files <= 1) return {out};
  const QFileInfo info(out);
  const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
  const QString stem = info.path() + QLatin1Char('/') + info.completeBaseName();
  QStringList names;
  for (int i = 1; i <= files; ++i) names << QStringLiteral("%1-%2%3").arg(stem).arg(i).arg(suffix);
  return names;
}

QStringList WriteTinRequest(const TTinRequest& request, const QString& out) {
  const std::vector<QByteArray> files = TinRequestFiles(request);
  const QStringList names = TinRequestFileNames(out, int(files.size()));
  TSafeFileGroup group;
  for (size_t i = 0; i < files.size(); ++i) {
    group.Add(names[int(i)], [&](QIODevice& device) {
      if (device.write(files[i]) != files[i].size())
        RaiseWriteError(names[int(i)], device.errorString());
    });
  }
  group.Commit();
  // The numbers are the payees' own: no one else needs to read them.
  for (const QString& name : names)
    if (!QFile::setPermissions(name, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
      RaiseWriteError(name, QStringLiteral("its permissions cannot be set to the owner alone"));
  return files.empty() ? QStringList() : names;
}

QByteArray ReadTinResultsFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.isFile()) throw EInOutError(QStringLiteral("File not found: %1").arg(path));
  if (info.size() > kMaxResultsBytes)
    throw EInOutError(
        QStringLiteral("%1 is too large to be a TIN matching results file").arg(path));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EInOutError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
  return file.readAll();
}

std::vector<TTinResultLine> ParseTinResults(const QByteArray& bytes, QStringList& problems) {
  std::vector<TTinResultLine> lines;
  const bool bom = bytes.startsWith("\xEF\xBB\xBF");
  const QString text = QString::fromLatin1(bom ? bytes.mid(3) : bytes);
  const QStringList raw = text.split(QLatin1Char('\n'));
  for (int i = 0; i < raw.size(); ++i) {
    const QString line = raw[i].trimmed();
    if (line.isEmpty()) continue;
    QString why;
    if (auto r = ParseResultLine(line, i + 1, why))
      lines.push_back(*r);
    else
      problems << QStringLiteral("Line %1: %2").arg(i + 1).arg(why);
  }
  return lines;
}

TTinResultsReport ApplyTinResults(const QByteArray& bytes, const std::vector<TPayeeRecord>& payees,
                                  TTinAnswers& answers, const QDate& date) {
  TTinResultsReport report;
  const std::vector<TTinResultLine> lines = ParseTinResults(bytes, report.Problems);
  report.Lines = int(lines.size());
  std::vector<TTinMatchKey> keys;
  QSet<TTinMatchKey> keySet;
  for (const TPayeeRecord& payee : payees) {
    keys.push_back(TinMatchKeyOf(payee));
    keySet.insert(keys.back());
  }
  for (const TTinResultLine& r : lines) {
    const int record = PayeeOfAnswer(r, keys);
    if (record == 0) {
      report.Problems << QStringLiteral(
                             "Line %1: no payee has the number %2 and the name \"%3\" any more")
                             .arg(r.Line)
                             .arg(r.Tin, r.Name);
      continue;
    }
    answers.Put({keys[size_t(record) - 1], r.Indicator, date});
    report.Matched.push_back({record, DisplayName(payees[size_t(record) - 1]), r.Indicator});
  }
  answers.KeepOnly(keySet);
  std::sort(report.Matched.begin(), report.Matched.end(),
            [](const auto& a, const auto& b) { return a.Record < b.Record; });
  return report;
}

QString TTinResultsReport::Text() const {
  QString text;
  for (const TMatched& m : Matched)
    text += QStringLiteral("payee %1, %2: %3 %4\n")
                .arg(m.Record)
                .arg(m.Payee)
                .arg(m.Indicator)
                .arg(TinIndicatorText(m.Indicator));
  for (const QString& p : Problems) text += p + QLatin1Char('\n');
  text += QStringLiteral("%1 answer(s) read, %2 kept for their payees\n")
              .arg(Lines)
              .arg(Matched.size());
  return text;
}
