#include <gtest/gtest.h>

#include <QtEndian>
#include <cstring>
#include <map>
#include <set>
#include <stdexcept>

#include "storage/RecordLayout.h"

namespace {
// The fields as the record tables give them: offset, bytes taken, and kind
// (S string, B flag, I 32-bit integer, D double).
struct Expected {
  const char* name;
  int offset;
  int bytes;
  char kind;
};

// clang-format off
const Expected kPayer[] = {
  {"PayerName", 0, 41, 'S'}, {"TradeName", 41, 41, 'S'}, {"Address1", 82, 31, 'S'},
  {"Address2", 113, 11, 'S'}, {"City", 124, 17, 'S'}, {"State", 141, 3, 'S'},
  {"ZipCode", 144, 11, 'S'}, {"CityStZip", 155, 31, 'S'}, {"Contact", 186, 31, 'S'},
  {"PhoneNum", 217, 13, 'S'}, {"FaxNum", 230, 13, 'S'}, {"Email", 243, 41, 'S'},
  {"EmpIDNum", 284, 11, 'S'}, {"SocSecNum", 295, 12, 'S'}, {"StateName1", 307, 3, 'S'},
  {"StateName2", 310, 3, 'S'}, {"StateID1", 313, 13, 'S'}, {"StateID2", 326, 13, 'S'},
  {"Locality1", 339, 16, 'S'}, {"Locality2", 355, 16, 'S'}, {"RTN", 371, 10, 'S'},
  {"FilePassword", 381, 13, 'S'}, {"SignerName", 394, 31, 'S'}, {"SignerTitle", 425, 21, 'S'},
  {"SignerPresent", 446, 1, 'B'}, {"OpenPayerOnLoad", 447, 1, 'B'},
};

const Expected kPayee[] = {
  {"TransferRecNo", 0, 4, 'I'}, {"Individual", 4, 1, 'B'}, {"PayeeName", 5, 41, 'S'},
  {"LastName", 46, 21, 'S'}, {"FirstName", 67, 21, 'S'}, {"CompName", 88, 41, 'S'},
  {"Address1", 129, 31, 'S'}, {"City", 160, 17, 'S'}, {"State", 177, 3, 'S'},
  {"ZipCode", 180, 11, 'S'}, {"CityStZip", 191, 31, 'S'}, {"SSN_IDNum", 222, 12, 'S'},
  {"AcctNum1098", 234, 26, 'S'}, {"AcctNum1099DIV", 260, 26, 'S'},
  {"AcctNum1099INT", 286, 26, 'S'}, {"AcctNum1099MISC", 312, 26, 'S'},
  {"AcctNum1099NEC", 338, 26, 'S'}, {"AcctNum1099R", 364, 26, 'S'},
  {"AcctNum1099S", 390, 26, 'S'},
  {"Corrected1098", 416, 1, 'B'}, {"Corrected1099DIV", 417, 1, 'B'},
  {"Corrected1099INT", 418, 1, 'B'}, {"Corrected1099MISC", 419, 1, 'B'},
  {"Corrected1099NEC", 420, 1, 'B'}, {"Corrected1099R", 421, 1, 'B'},
  {"Corrected1099S", 422, 1, 'B'}, {"SecTINnot1099DIV", 430, 1, 'B'},
  {"SecTINnot1099INT", 431, 1, 'B'}, {"SecTINnot1099MISC", 432, 1, 'B'},
  {"SecTINnot1099NEC", 433, 1, 'B'}, {"FATCA1099DIV", 434, 1, 'B'},
  {"FATCA1099INT", 435, 1, 'B'}, {"FATCA1099MISC", 436, 1, 'B'}, {"FATCA1099R", 438, 1, 'B'},
  // 1098
  {"F1098_1", 440, 8, 'D'}, {"F1098_2", 448, 8, 'D'}, {"F1098_3", 456, 11, 'S'},
  {"F1098_4", 472, 8, 'D'}, {"F1098_5", 480, 8, 'D'}, {"F1098_6", 488, 8, 'D'},
  {"F1098_7", 496, 1, 'B'}, {"F1098_8_1", 497, 26, 'S'}, {"F1098_8_2", 523, 26, 'S'},
  {"F1098_8_3", 549, 26, 'S'}, {"F1098_8_4", 575, 26, 'S'}, {"F1098_8_5", 601, 26, 'S'},
  {"F1098_8_6", 627, 26, 'S'}, {"F1098_8_7", 653, 26, 'S'}, {"F1098_9", 680, 4, 'I'},
  {"F1098_10", 684, 26, 'S'}, {"F1098_11", 710, 11, 'S'},
  // 1099-DIV
  {"F1099DIV1a", 728, 8, 'D'}, {"F1099DIV1b", 736, 8, 'D'}, {"F1099DIV2a", 744, 8, 'D'},
  {"F1099DIV2b", 752, 8, 'D'}, {"F1099DIV2c", 760, 8, 'D'}, {"F1099DIV2d", 768, 8, 'D'},
  {"F1099DIV2e", 776, 8, 'D'}, {"F1099DIV2f", 784, 8, 'D'}, {"F1099DIV3", 792, 8, 'D'},
  {"F1099DIV4", 800, 8, 'D'}, {"F1099DIV5", 808, 8, 'D'}, {"F1099DIV6", 816, 8, 'D'},
  {"F1099DIV7", 824, 8, 'D'}, {"F1099DIV8", 832, 13, 'S'}, {"F1099DIV9", 848, 8, 'D'},
  {"F1099DIV10", 856, 8, 'D'}, {"F1099DIV12", 864, 8, 'D'}, {"F1099DIV13", 872, 8, 'D'},
  {"F1099DIV16_1", 880, 8, 'D'}, {"F1099DIV16_2", 888, 8, 'D'},
  // 1099-INT
  {"F1099INT1", 896, 8, 'D'}, {"F1099INT2", 904, 8, 'D'}, {"F1099INT3", 912, 8, 'D'},
  {"F1099INT4", 920, 8, 'D'}, {"F1099INT5", 928, 8, 'D'}, {"F1099INT6", 936, 8, 'D'},
  {"F1099INT7", 944, 13, 'S'}, {"F1099INT8", 960, 8, 'D'}, {"F1099INT9", 968, 8, 'D'},
  {"F1099INT10", 976, 8, 'D'}, {"F1099INT11", 984, 8, 'D'}, {"F1099INT12", 992, 8, 'D'},
  {"F1099INT13", 1000, 8, 'D'}, {"F1099INT14", 1008, 21, 'S'}, {"F1099INT17_1", 1032, 8, 'D'},
  {"F1099INT17_2", 1040, 8, 'D'},
  // 1099-MISC
  {"F1099MISC1", 1048, 8, 'D'}, {"F1099MISC2", 1056, 8, 'D'}, {"F1099MISC3", 1064, 8, 'D'},
  {"F1099MISC4", 1072, 8, 'D'}, {"F1099MISC5", 1080, 8, 'D'}, {"F1099MISC6", 1088, 8, 'D'},
  {"F1099MISC7", 1096, 1, 'B'}, {"F1099MISC8", 1104, 8, 'D'}, {"F1099MISC9", 1112, 8, 'D'},
  {"F1099MISC10", 1120, 8, 'D'}, {"F1099MISC11", 1128, 8, 'D'}, {"F1099MISC12", 1136, 8, 'D'},
  {"F1099MISC15", 1152, 8, 'D'}, {"F1099MISC16_1", 1160, 8, 'D'},
  {"F1099MISC16_2", 1168, 8, 'D'}, {"F1099MISC18_1", 1176, 8, 'D'},
  {"F1099MISC18_2", 1184, 8, 'D'},
  // 1099-NEC
  {"F1099NEC1", 1192, 8, 'D'}, {"F1099NEC2", 1200, 1, 'B'}, {"F1099NEC3", 1208, 8, 'D'},
  {"F1099NEC4", 1216, 8, 'D'}, {"F1099NEC5_1", 1224, 8, 'D'}, {"F1099NEC5_2", 1232, 8, 'D'},
  {"F1099NEC7_1", 1240, 8, 'D'}, {"F1099NEC7_2", 1248, 8, 'D'},
  // 1099-R
  {"F1099R1", 1256, 8, 'D'}, {"F1099R2", 1264, 8, 'D'}, {"F1099R3", 1272, 8, 'D'},
  {"F1099R4", 1280, 8, 'D'}, {"F1099R5", 1288, 8, 'D'}, {"F1099R6", 1296, 8, 'D'},
  {"F1099R2b1", 1304, 1, 'B'}, {"F1099R2b2", 1305, 1, 'B'}, {"F1099R7", 1306, 3, 'S'},
  {"F1099R7a", 1309, 1, 'B'}, {"F1099R8", 1312, 8, 'D'}, {"F1099R8a", 1320, 4, 'I'},
  {"F1099R9a", 1324, 4, 'I'}, {"F1099R9b", 1328, 8, 'D'}, {"F1099R10", 1336, 8, 'D'},
  {"F1099R11", 1344, 5, 'S'}, {"F1099RDOP", 1349, 11, 'S'}, {"F1099R14_1", 1360, 8, 'D'},
  {"F1099R14_2", 1368, 8, 'D'}, {"F1099R16_1", 1376, 8, 'D'}, {"F1099R16_2", 1384, 8, 'D'},
  {"F1099R17_1", 1392, 8, 'D'}, {"F1099R17_2", 1400, 8, 'D'}, {"F1099R19_1", 1408, 8, 'D'},
  {"F1099R19_2", 1416, 8, 'D'},
  // 1099-S
  {"F1099S1", 1424, 11, 'S'}, {"F1099S2", 1440, 8, 'D'}, {"F1099S3_1", 1448, 26, 'S'},
  {"F1099S3_2", 1474, 26, 'S'}, {"F1099S3_3", 1500, 26, 'S'}, {"F1099S4", 1526, 1, 'B'},
  {"F1099S5", 1527, 1, 'B'}, {"F1099S6", 1528, 8, 'D'},
};

// Bytes of the payee record that carry no data: [first, last].
const std::pair<int, int> kPayeeGaps[] = {
  {423, 429}, {437, 437}, {439, 439}, {467, 471}, {679, 679}, {721, 727}, {845, 847},
  {957, 959}, {1029, 1031}, {1097, 1103}, {1144, 1151}, {1201, 1207}, {1310, 1311},
  {1435, 1439},
};
// clang-format on

char KindLetter(TFieldKind kind) {
  switch (kind) {
    case TFieldKind::String:
      return 'S';
    case TFieldKind::Bool:
      return 'B';
    case TFieldKind::Int32:
      return 'I';
    case TFieldKind::Double:
      return 'D';
    case TFieldKind::Bytes:
      return 'X';
  }
  return '?';
}

// Every byte's owner; fails on overlaps and on fields outside the record.
std::vector<int> Coverage(const TRecordLayout& layout) {
  std::vector<int> owner(static_cast<size_t>(layout.Size()), -1);
  int index = 0;
  for (const TFieldDef& f : layout.Fields()) {
    EXPECT_GE(f.Offset, 0) << f.Name;
    EXPECT_LE(f.Offset + FieldSize(f), layout.Size()) << f.Name;
    for (int b = f.Offset; b < f.Offset + FieldSize(f) && b < layout.Size(); ++b) {
      EXPECT_EQ(owner[static_cast<size_t>(b)], -1) << f.Name << " overlaps at byte " << b;
      owner[static_cast<size_t>(b)] = index;
    }
    ++index;
  }
  return owner;
}

void ExpectLayout(const TRecordLayout& layout, std::span<const Expected> expected) {
  std::set<std::string> names;
  for (const TFieldDef& f : layout.Fields())
    EXPECT_TRUE(names.insert(f.Name).second) << "duplicate " << f.Name;
  EXPECT_EQ(layout.Fields().size(), expected.size());
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    const TFieldDef* f = layout.Find(std::string_view(e.name));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Offset, e.offset);
    EXPECT_EQ(FieldSize(*f), e.bytes);
    EXPECT_EQ(KindLetter(f->Kind), e.kind);
  }
}

TEST(RecordLayout, PayerTableMatchesTheRecordAndFillsIt) {
  EXPECT_EQ(PayerLayout().Size(), 448);
  ExpectLayout(PayerLayout(), kPayer);
  const std::vector<int> owner = Coverage(PayerLayout());
  for (size_t b = 0; b < owner.size(); ++b) EXPECT_NE(owner[b], -1) << "byte " << b;
}

TEST(RecordLayout, PayeeTableMatchesTheRecordAndLeavesOnlyTheKnownGaps) {
  EXPECT_EQ(PayeeLayout().Size(), 1536);
  ExpectLayout(PayeeLayout(), kPayee);
  const std::vector<int> owner = Coverage(PayeeLayout());
  std::vector<bool> gap(owner.size(), false);
  for (auto [first, last] : kPayeeGaps)
    for (int b = first; b <= last; ++b) gap[static_cast<size_t>(b)] = true;
  for (size_t b = 0; b < owner.size(); ++b) EXPECT_EQ(owner[b] == -1, gap[b]) << "byte " << b;
}

TEST(RecordLayout, AmountsInsideTheFormBlocksStartOnMultiplesOfEight) {
  for (const TFieldDef& f : PayeeLayout().Fields())
    if (f.Kind == TFieldKind::Double) {
      EXPECT_EQ(f.Offset % 8, 0) << f.Name;
    }
}

TEST(RecordLayout, LookupByNameAndHandle) {
  EXPECT_EQ(PayeeLayout().Find(std::string_view("NoSuchField")), nullptr);
  EXPECT_EQ(PayeeLayout().Find(QStringLiteral("F1099NEC1")),
            PayeeLayout().Find(std::string_view("F1099NEC1")));
  EXPECT_THROW(PayeeLayout().Field("PayerName"), std::out_of_range);
  EXPECT_THROW(TPayerRecord().GetString("SSN_IDNum"), std::out_of_range);
  // Asking a field for another kind is a programming error, not a silent reinterpretation.
  TPayeeRecord rec;
  EXPECT_THROW(rec.GetDouble("PayeeName"), std::logic_error);
  EXPECT_THROW(rec.SetString("F1099NEC1", "x"), std::logic_error);
  const TFieldHandle nec1 = TPayeeRecord::Field("F1099NEC1");
  rec.SetDouble(nec1, 600);
  EXPECT_EQ(rec.GetDouble("F1099NEC1"), 600);
}

QByteArray Slice(const TPayeeRecord& rec, int offset, int count) {
  return QByteArray(reinterpret_cast<const char*>(rec.Data() + offset), count);
}

TEST(RecordBuffer, StringsAreALengthByteAndWindows1252Characters) {
  struct Case {
    const char* field;
    QString text;
    QByteArray bytes;  // length byte and characters
  };
  const Case cases[] = {
      {"State", "NY", QByteArray("\x02NY", 3)},
      {"State", "NYC", QByteArray("\x02NY", 3)},  // cut to the width
      {"City", QString::fromUtf8("Montr\u00e9al \u20ac"),
       QByteArray("\x0aMontr\xe9"
                  "al \x80",
                  11)},
      {"PayeeName", "", QByteArray("\x00", 1)},
      {"F1099R7", "7D",
       QByteArray("\x02"
                  "7D",
                  3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    TPayeeRecord rec;
    rec.SetString(c.field, c.text);
    const int offset = TPayeeRecord::Field(c.field)->Offset;
    EXPECT_EQ(Slice(rec, offset, static_cast<int>(c.bytes.size())), c.bytes);
    EXPECT_EQ(rec.GetString(c.field), c.text.left(TPayeeRecord::Field(c.field)->Width));
  }
  // Nothing outside the field is touched.
  TPayeeRecord rec;
  rec.SetString("LastName", QString(30, 'x'));
  for (int b = 0; b < 1536; ++b)
    if (b < 46 || b > 66) {
      ASSERT_EQ(rec.Bytes[static_cast<size_t>(b)], 0) << b;
    }
  EXPECT_EQ(rec.Bytes[46], 20);
}

TEST(RecordBuffer, AShorterStringKeepsTheBytesAfterIt) {
  TPayeeRecord rec;
  rec.SetString("State", "NY");
  rec.SetString("State", "A");
  EXPECT_EQ(Slice(rec, 177, 3), QByteArray("\x01"
                                           "AY",
                                           3));
  EXPECT_EQ(rec.GetString("State"), "A");
}

TEST(RecordBuffer, ALengthByteBeyondTheWidthIsClamped) {
  TPayeeRecord rec;
  rec.Bytes[177] = 200;  // State, width 2
  rec.Bytes[178] = 'O';
  rec.Bytes[179] = 'H';
  rec.Bytes[180] = 5;  // the next field's length byte
  EXPECT_EQ(rec.GetString("State"), "OH");
}

TEST(RecordBuffer, FlagsIntegersAndDoublesAreLittleEndianAtTheirOffsets) {
  TPayeeRecord rec;
  rec.SetBool("Individual", true);
  rec.SetInt("F1098_9", -2);
  rec.SetInt("TransferRecNo", 0x01020304);
  rec.SetDouble("F1099NEC1", 1234.5);
  EXPECT_EQ(Slice(rec, 4, 1), QByteArray("\x01", 1));
  EXPECT_EQ(Slice(rec, 680, 4), QByteArray("\xfe\xff\xff\xff", 4));
  EXPECT_EQ(Slice(rec, 0, 4), QByteArray("\x04\x03\x02\x01", 4));
  EXPECT_EQ(Slice(rec, 1192, 8), QByteArray("\x00\x00\x00\x00\x00\x4a\x93\x40", 8));
  EXPECT_EQ(rec.GetInt("F1098_9"), -2);
  EXPECT_EQ(rec.GetDouble("F1099NEC1"), 1234.5);
  // Any nonzero byte reads as set; writing false stores 0.
  rec.Bytes[1200] = 0x7f;
  EXPECT_TRUE(rec.GetBool("F1099NEC2"));
  rec.SetBool("F1099NEC2", false);
  EXPECT_EQ(rec.Bytes[1200], 0);
  EXPECT_FALSE(rec.GetBool("F1099NEC2"));
}

TEST(RecordBuffer, FieldTextAndEmptiness) {
  TPayeeRecord rec;
  for (const TFieldDef& f : PayeeLayout().Fields())
    EXPECT_TRUE(RecordField::IsEmpty(rec.Data(), f)) << f.Name;
  rec.SetDouble("F1099INT1", 0.1);
  rec.SetBool("FATCA1099R", true);
  rec.SetInt("F1099R9a", 50);
  rec.SetString("SSN_IDNum", "123-45-6789");
  EXPECT_EQ(RecordField::AsText(rec.Data(), *TPayeeRecord::Field("F1099INT1")), "0.1");
  EXPECT_EQ(RecordField::AsText(rec.Data(), *TPayeeRecord::Field("FATCA1099R")), "True");
  EXPECT_EQ(RecordField::AsText(rec.Data(), *TPayeeRecord::Field("F1099R9a")), "50");
  EXPECT_EQ(RecordField::AsText(rec.Data(), *TPayeeRecord::Field("SSN_IDNum")), "123-45-6789");
  rec.SetString("SSN_IDNum", "");
  EXPECT_TRUE(RecordField::IsEmpty(rec.Data(), *TPayeeRecord::Field("SSN_IDNum")));
}
}  // namespace
