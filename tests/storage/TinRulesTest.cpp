// Taxpayer numbers that cannot be right, judged offline: each rule at its boundaries, and the
// kind of number each shape is.
#include <gtest/gtest.h>

#include "storage/TinRules.h"

namespace {
struct TTinCase {
  const char* Tin;
  bool Individual;
  TTinType Type;
  // The findings' levels and a word each must hold, in order; empty: nothing to say.
  std::vector<std::pair<TFindingLevel, const char*>> Findings;
};

constexpr auto E = TFindingLevel::Error;
constexpr auto W = TFindingLevel::Warning;

// clang-format off
const TTinCase kCases[] = {
  // SSN areas: 000 and 666 never issued, 001, 665, 667 and 899 are.
  {"001-01-0001", true, TTinType::Ssn, {}},
  {"000-12-3456", true, TTinType::Ssn, {{E, "area 000"}}},
  {"665-12-3456", true, TTinType::Ssn, {}},
  {"666-12-3456", true, TTinType::Ssn, {{E, "area 666"}}},
  {"667-12-3456", true, TTinType::Ssn, {}},
  {"899-99-9999", true, TTinType::Ssn, {}},
  // Group 00 and serial 0000 never issued; 01 and 0001 are.
  {"212-00-3456", true, TTinType::Ssn, {{E, "group 00"}}},
  {"212-01-3456", true, TTinType::Ssn, {}},
  {"212-34-0000", true, TTinType::Ssn, {{E, "serial number 0000"}}},
  {"000-00-0000", true, TTinType::Ssn, {{E, "area 000"}, {E, "group 00"}, {E, "serial number 0000"}}},
  // Numbers from sample cards and advertising.
  {"078-05-1120", true, TTinType::Ssn, {{E, "sample"}}},
  {"219-09-9999", true, TTinType::Ssn, {{E, "sample"}}},
  {"123-45-6789", true, TTinType::Ssn, {{E, "sample"}}},
  // An SSN on a company is asked about, not refused.
  {"212-34-5678", false, TTinType::Ssn, {{W, "not marked as an individual"}}},
  // 9NN: an ITIN in groups 50-65, 70-88, 90-92, 94-99; any other group is neither.
  {"912-49-1234", true, TTinType::Other, {{E, "group 49"}}},
  {"912-50-1234", true, TTinType::Itin, {}},
  {"912-65-1234", true, TTinType::Itin, {}},
  {"912-66-1234", true, TTinType::Other, {{E, "neither"}}},
  {"912-69-1234", true, TTinType::Other, {{E, "neither"}}},
  {"912-70-1234", true, TTinType::Itin, {}},
  {"912-88-1234", true, TTinType::Itin, {}},
  {"912-89-1234", true, TTinType::Other, {{E, "neither"}}},
  {"912-90-1234", true, TTinType::Itin, {}},
  {"912-92-1234", true, TTinType::Itin, {}},
  {"912-93-1234", true, TTinType::Other, {{E, "neither"}}},
  {"912-94-1234", true, TTinType::Itin, {}},
  {"999-99-9999", true, TTinType::Itin, {}},
  {"912-00-1234", true, TTinType::Other, {{E, "neither"}}},
  {"912-70-1234", false, TTinType::Itin, {{W, "belongs to a person"}}},
  // EIN prefixes: the unassigned ones and their neighbours.
  {"00-1234567", false, TTinType::Ein, {{E, "prefix 00"}}},
  {"01-1234567", false, TTinType::Ein, {}},
  {"06-1234567", false, TTinType::Ein, {}},
  {"07-1234567", false, TTinType::Ein, {{E, "prefix 07"}}},
  {"09-1234567", false, TTinType::Ein, {{E, "prefix 09"}}},
  {"10-1234567", false, TTinType::Ein, {}},
  {"16-1234567", false, TTinType::Ein, {}},
  {"17-1234567", false, TTinType::Ein, {{E, "prefix 17"}}},
  {"19-1234567", false, TTinType::Ein, {{E, "prefix 19"}}},
  {"20-1234567", false, TTinType::Ein, {}},
  {"27-1234567", false, TTinType::Ein, {}},
  {"28-1234567", false, TTinType::Ein, {{E, "prefix 28"}}},
  {"29-1234567", false, TTinType::Ein, {{E, "prefix 29"}}},
  {"30-1234567", false, TTinType::Ein, {}},
  {"48-1234567", false, TTinType::Ein, {}},
  {"49-1234567", false, TTinType::Ein, {{E, "prefix 49"}}},
  {"50-1234567", false, TTinType::Ein, {}},
  {"68-1234567", false, TTinType::Ein, {}},
  {"69-1234567", false, TTinType::Ein, {{E, "prefix 69"}}},
  {"70-1234567", false, TTinType::Ein, {{E, "prefix 70"}}},
  {"71-1234567", false, TTinType::Ein, {}},
  {"77-1234567", false, TTinType::Ein, {}},
  {"78-1234567", false, TTinType::Ein, {{E, "prefix 78"}}},
  {"79-1234567", false, TTinType::Ein, {{E, "prefix 79"}}},
  {"80-1234567", false, TTinType::Ein, {}},
  {"88-1234567", false, TTinType::Ein, {}},
  {"89-1234567", false, TTinType::Ein, {{E, "prefix 89"}}},
  {"90-1234567", false, TTinType::Ein, {}},
  {"95-1234567", false, TTinType::Ein, {}},
  {"96-1234567", false, TTinType::Ein, {{E, "prefix 96"}}},
  {"97-1234567", false, TTinType::Ein, {{E, "prefix 97"}}},
  {"98-1234567", false, TTinType::Ein, {}},
  {"99-1234567", false, TTinType::Ein, {}},
  // A person may have an EIN (a sole proprietor): nothing to say.
  {"12-3456789", true, TTinType::Ein, {}},
  // Missing, and what is neither shape.
  {"", true, TTinType::None, {{E, "missing"}}},
  {"   ", false, TTinType::None, {{E, "missing"}}},
  {"123456789", true, TTinType::Other, {{E, "not a taxpayer identification number"}}},
  {"12-345-6789", true, TTinType::Other, {{E, "not a taxpayer identification number"}}},
};
// clang-format on
}  // namespace

TEST(TinRulesTest, EachRuleAtItsBoundaries) {
  for (const TTinCase& c : kCases) {
    SCOPED_TRACE(std::string(c.Tin) + (c.Individual ? " individual" : " company"));
    const QString tin = QLatin1String(c.Tin);
    EXPECT_EQ(TinTypeOf(tin), c.Type);
    const std::vector<TTinFinding> findings = TinFindings(tin, c.Individual);
    ASSERT_EQ(findings.size(), c.Findings.size());
    for (size_t i = 0; i < findings.size(); ++i) {
      EXPECT_EQ(findings[i].Level, c.Findings[i].first) << findings[i].Text.toStdString();
      EXPECT_TRUE(findings[i].Text.contains(QLatin1String(c.Findings[i].second)))
          << findings[i].Text.toStdString();
    }
  }
}

TEST(TinRulesTest, PrefixAndGroupListsCoverEveryPair) {
  // The IRS leaves 17 prefixes unassigned and issues ITINs in 44 of the 100 groups.
  int unassigned = 0, groups = 0;
  for (int n = 0; n <= 99; ++n) {
    unassigned += IsAssignedEinPrefix(n) ? 0 : 1;
    groups += IsItinGroup(n) ? 1 : 0;
  }
  EXPECT_EQ(unassigned, 17);
  EXPECT_EQ(groups, 44);
}

TEST(TinRulesTest, DigitsOfEitherShape) {
  EXPECT_EQ(TinDigits(QStringLiteral("12-3456789")), QStringLiteral("123456789"));
  EXPECT_EQ(TinDigits(QStringLiteral("123-45-6789")), QStringLiteral("123456789"));
  EXPECT_EQ(TinDigits(QStringLiteral("123456789")), QStringLiteral("123456789"));
  EXPECT_EQ(TinDigits(QStringLiteral("12-345678")), QString());
  EXPECT_EQ(TinDigits(QStringLiteral("")), QString());
}
