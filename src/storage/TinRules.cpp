#include "storage/TinRules.h"

#include <algorithm>
#include <array>

#include "core/Utils.h"

namespace {
// Prefixes the IRS has never assigned to an EIN; every other pair from 01 to 99 belongs to one
// of its campuses, the online application or the SBA.
constexpr std::array<int, 17> kUnassignedEinPrefixes = {0,  7,  8,  9,  17, 18, 19, 28, 29,
                                                        49, 69, 70, 78, 79, 89, 96, 97};

// Numbers printed on sample cards and in advertising, used by many who took them for their own.
constexpr std::array<const char*, 3> kSampleSsns = {"078-05-1120", "219-09-9999", "123-45-6789"};

bool Shaped(const QString& text, const char* mask) {
  const qsizetype n = qsizetype(std::char_traits<char>::length(mask));
  if (text.size() != n) return false;
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (mask[i] == 'N' ? !c.isDigit() || c.unicode() > '9' : c != QLatin1Char(mask[i]))
      return false;
  }
  return true;
}

bool SsnShaped(const QString& tin) {
  return Shaped(tin, "NNN-NN-NNNN");
}

bool EinShaped(const QString& tin) {
  return Shaped(tin, "NN-NNNNNNN");
}

TTinFinding Error(const QString& text) {
  return {TFindingLevel::Error, text};
}

TTinFinding Warning(const QString& text) {
  return {TFindingLevel::Warning, text};
}

// The parts the SSA never issues: area 000 and 666, group 00, serial 0000.
void SsnPartFindings(const QString& tin, std::vector<TTinFinding>& findings) {
  const QString area = tin.left(3), group = tin.mid(4, 2), serial = tin.mid(7, 4);
  if (area == QLatin1String("000") || area == QLatin1String("666"))
    findings.push_back(Error(QStringLiteral("SSN area %1 is never issued").arg(area)));
  if (group == QLatin1String("00"))
    findings.push_back(Error(QStringLiteral("SSN group 00 is never issued")));
  if (serial == QLatin1String("0000"))
    findings.push_back(Error(QStringLiteral("SSN serial number 0000 is never issued")));
}

void NineHundredFindings(const QString& tin, bool individual, std::vector<TTinFinding>& findings) {
  const int group = tin.mid(4, 2).toInt();
  if (!IsItinGroup(group)) {
    findings.push_back(
        Error(QStringLiteral("%1 is neither an SSN (area 900 to 999 is never issued) nor an "
                             "ITIN (group %2 is not one the IRS issues)")
                  .arg(tin, tin.mid(4, 2))));
    return;
  }
  if (!individual)
    findings.push_back(Warning(
        QStringLiteral("%1 is an ITIN, which belongs to a person, but the payee is not marked as "
                       "an individual")
            .arg(tin)));
}
}  // namespace

QString FindingLevelName(TFindingLevel level) {
  switch (level) {
    case TFindingLevel::Error:
      return QStringLiteral("error");
    case TFindingLevel::Warning:
      return QStringLiteral("warning");
    case TFindingLevel::Note:
      break;
  }
  return QStringLiteral("note");
}

bool IsAssignedEinPrefix(int prefix) {
  if (prefix < 0 || prefix > 99) return false;
  return std::find(kUnassignedEinPrefixes.begin(), kUnassignedEinPrefixes.end(), prefix) ==
         kUnassignedEinPrefixes.end();
}

bool IsItinGroup(int group) {
  return (group >= 50 && group <= 65) || (group >= 70 && group <= 88) ||
         (group >= 90 && group <= 92) || (group >= 94 && group <= 99);
}

QString TinDigits(const QString& tin) {
  if (!SsnShaped(tin) && !EinShaped(tin) && !Shaped(tin, "NNNNNNNNN")) return {};
  QString digits = tin;
  digits.remove(QLatin1Char('-'));
  return digits;
}

TTinType TinTypeOf(const QString& tin) {
  if (IsBlank(tin)) return TTinType::None;
  if (EinShaped(tin)) return TTinType::Ein;
  if (!SsnShaped(tin)) return TTinType::Other;
  if (tin[0] != QLatin1Char('9')) return TTinType::Ssn;
  return IsItinGroup(tin.mid(4, 2).toInt()) ? TTinType::Itin : TTinType::Other;
}

std::vector<TTinFinding> TinFindings(const QString& tin, bool individual) {
  std::vector<TTinFinding> findings;
  if (IsBlank(tin)) {
    findings.push_back(Error(QStringLiteral("The taxpayer identification number is missing")));
    return findings;
  }
  if (EinShaped(tin)) {
    if (!IsAssignedEinPrefix(tin.left(2).toInt()))
      findings.push_back(
          Error(QStringLiteral("EIN prefix %1 is not one the IRS assigns").arg(tin.left(2))));
    return findings;
  }
  if (!SsnShaped(tin)) {
    findings.push_back(Error(
        QStringLiteral("%1 is not a taxpayer identification number (NNN-NN-NNNN or NN-NNNNNNN)")
            .arg(tin)));
    return findings;
  }
  if (tin[0] == QLatin1Char('9')) {
    NineHundredFindings(tin, individual, findings);
    return findings;
  }
  SsnPartFindings(tin, findings);
  if (std::any_of(kSampleSsns.begin(), kSampleSsns.end(),
                  [&tin](const char* sample) { return tin == QLatin1String(sample); }))
    findings.push_back(
        Error(QStringLiteral("%1 is a well-known sample number from advertising, not a real SSN")
                  .arg(tin)));
  if (!individual)
    findings.push_back(
        Warning(QStringLiteral("%1 is an SSN, but the payee is not marked as an individual; "
                               "check whether the payee gave an EIN")
                    .arg(tin)));
  return findings;
}
