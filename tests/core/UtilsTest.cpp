#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "TestSupport.h"
#include "core/Utils.h"

TEST(Utils, TextRoutines) {
  EXPECT_EQ(LeftChars("abc", 2), "ab");
  EXPECT_EQ(LeftChars("abc", 9), "abc");
  EXPECT_EQ(RightChars("abc", 2), "bc");
  EXPECT_EQ(MidChars("abcdef", 2, 3), "bcd");
  EXPECT_EQ(MidChars("abcdef", 5, 9), "ef");
  EXPECT_EQ(MidChars("abc", 4, 1), "");
  EXPECT_EQ(TextBefore("file.PE25", '.'), "file");
  EXPECT_EQ(TextBefore("file", '.'), "");
  EXPECT_EQ(KeepChars(QString::fromUtf8("$1,234.50 \u20ac"), CharSet("-.0123456789")), "1234.50");
  EXPECT_TRUE(IsBlank(QString(" \t\r\n")));
  EXPECT_FALSE(IsBlank(" x "));
  EXPECT_EQ(TildeToCR("a~b"), "a\rb");
  EXPECT_EQ(DoubleAmpersands("a&&b"), "a&&&&b");
  EXPECT_EQ(DoubleAmpersands("Smith & Sons"), "Smith && Sons");
  EXPECT_EQ(AddPathDelimiter("/tmp"), "/tmp/");
  EXPECT_EQ(AddPathDelimiter("/tmp/"), "/tmp/");
  EXPECT_EQ(IndexOfText("ab", {"x", "AB", "ab"}), 2);
  EXPECT_EQ(IndexOfText("zz", {"x"}), 0);
}

TEST(Utils, RoundAmountRoundsTheDecimalFormHalfAwayFromZero) {
  struct Case {
    double in;
    int decimals;
    double out;
  } cases[] = {{0.004, 2, 0},
               {0.005, 2, 0.01},
               {-0.005, 2, -0.01},
               {1.005, 2, 1.0},
               {2.5, 0, 3},
               {0.125, 2, 0.13},
               {1234.5678, 2, 1234.57},
               {999999999999.99, 2, 999999999999.99},
               {1e-300, 2, 0}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(RoundAmount(c.in, c.decimals), c.out) << c.in;
  EXPECT_EQ(RoundAmount(std::nan(""), 2), 0);
  EXPECT_EQ(RoundAmount(INFINITY, 2), 0);
  EXPECT_FALSE(AmountPresent(0.004));
  EXPECT_TRUE(AmountPresent(0.005));
}

TEST(Utils, TextToNumbers) {
  EXPECT_EQ(TextToFloat(""), 0);
  EXPECT_EQ(TextToFloat("-"), 0);
  EXPECT_EQ(TextToFloat("."), 0);
  EXPECT_EQ(TextToFloat("$1,234.50"), 1234.5);
  EXPECT_EQ(TextToFloat("-.5"), -0.5);
  EXPECT_THROW(TextToFloat("1.2.3"), EConvertError);
  EXPECT_THROW(TextToFloat("-."), EConvertError);
  EXPECT_THROW(TextToFloat("5-"), EConvertError);
  EXPECT_EQ(TextToInt(""), 0);
  EXPECT_EQ(TextToInt("-"), 0);
  EXPECT_EQ(TextToInt(" 42x"), 42);
  EXPECT_THROW(TextToInt("1-2"), EConvertError);
  EXPECT_THROW(TextToInt("99999999999"), EConvertError);
}

TEST(Utils, FitFontSizeAndLeapYears) {
  EXPECT_DOUBLE_EQ(FitFontSize(QString(32, 'x'), 3.2), 12);
  EXPECT_DOUBLE_EQ(FitFontSize(QString(40, 'x'), 3.2), 9.6);
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(2025));
}

TEST(Utils, IdentificationNumbers) {
  struct Case {
    bool (*check)(const QString&);
    const char* text;
    bool valid;
  } cases[] = {
      {IsValidSSN, "123-45-6788", true},
      {IsValidSSN, "923-45-6788", false},
      {IsValidSSN, "666-12-3456", false},
      {IsValidSSN, "000-12-3456", false},
      {IsValidSSN, "123-00-4567", false},
      {IsValidSSN, "123-45-0000", false},
      {IsValidSSN, "123-45-6789", false},
      {IsValidSSN, "123456788", false},
      {IsValidSSN, "123-45-67880", false},
      {IsValidSSN, "123-45-6788 ", true},
      {IsValidSSN, " 23-45-67880", false},
      {IsValidSSN, "   -  -    ", false},
      {IsValidEIN, "12-3456789", true},
      {IsValidEIN, "07-1234567", false},
      {IsValidEIN, "89-1234567", false},
      {IsValidEIN, "123456789", false},
      {IsValidZip, "12345", true},
      {IsValidZip, "12345-6789", true},
      {IsValidZip, "1234", false},
      {IsValidZip, "12345-678", false},
      {IsValidZip, "123456789", false},
      {IsValidZip, "12345 6789", false},
      {IsValidZipPlus4, "12345", false},
      {IsValidZipPlus4, "12345-6789", true},
      {IsValidPhone, "555-123-4567", true},
      {IsValidPhone, "(555)123-4567", false},
      {IsValidPhone, "   -   -    ", false},
      // 0 1 2 3 4 5 6 7 weighted 3 7 1 3 7 1 3 7: sum 0+7+2+9+28+5+18+49 = 118 -> check 2
      {IsValidRTN, "012345672", true},
      {IsValidRTN, "012345673", false},
      {IsValidRTN, "111111110", false},
      {IsValidRTN, "", false},
      {IsValidRTN, "01234567", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.check(c.text), c.valid) << c.text;
}

TEST(Utils, RoutingNumberCheckDigitZeroAndLeadingFive) {
  // 1,1,1,1,1,1,1,1 weighted: 3+7+1+3+7+1+3+7 = 32 -> check 8.
  EXPECT_TRUE(IsValidRTN("111111118"));
  // 1,0,0,0,0,0,0,1 weighted: 3+7 = 10, so the check digit is 0.
  EXPECT_TRUE(IsValidRTN("100000010"));
  EXPECT_FALSE(IsValidRTN("100000011"));
  // 5,0,0,0,0,0,0,1: 15+7 = 22 -> check 8, but a leading 5 fails.
  EXPECT_FALSE(IsValidRTN("500000018"));
}

TEST(Utils, Dates) {
  EXPECT_TRUE(IsValidDate("02/29/2024"));
  EXPECT_FALSE(IsValidDate("02/29/2025"));
  EXPECT_FALSE(IsValidDate("1/1/2025"));  // fewer than ten date characters
  EXPECT_FALSE(IsValidDate("  /  /    "));
  EXPECT_TRUE(IsDateInRange("12/31/2025", "01/01/2025", "12/31/2025"));
  EXPECT_FALSE(IsDateInRange("01/01/2026", "01/01/2025", "12/31/2025"));
  EXPECT_THROW(IsDateInRange("xx", "01/01/2025", "12/31/2025"), EConvertError);
  EXPECT_EQ(EncodeDateText(12, 31, 2025), "12/31/2025");
  EXPECT_EQ(EncodeDateText(3, 7, 2025), "03/07/2025");
  int m = 9, d = 9, y = 9;
  DecodeDateText("13/45/2025", m, d, y);
  EXPECT_EQ(m + d + y, 0);
  DecodeDateText("03/07/2025", m, d, y);
  EXPECT_EQ(m, 3);
  EXPECT_EQ(d, 7);
  EXPECT_EQ(y, 2025);
  EXPECT_EQ(AddMonthsToDateText("01/31/2024", 1), "02/29/2024");
  EXPECT_EQ(AddMonthsToDateText("01/31/2025", -2), "11/30/2024");
  EXPECT_EQ(AddMonthsToDateText("bad", 1), "");
}

TEST(Utils, MaskSSN) {
  EXPECT_EQ(MaskSSN("123-45-6788"), "***-**-6788");
  EXPECT_EQ(MaskSSN("12-3456789"), "");
  EXPECT_EQ(MaskSSN("123-45-6789"), "");
}

TEST(Utils, CopyFileCheckedReportsFailuresAndNeverCopiesOntoItself) {
  TTempFolder dir;
  WriteAll(dir.Path("a.PE25"), QByteArray(1536, '\1'));
  CopyFileChecked(dir.Path("a.PE25"), dir.Path("b.PE25"), false);
  EXPECT_FALSE(CopyFailed);
  EXPECT_EQ(ReadAll(dir.Path("b.PE25")), QByteArray(1536, '\1'));

  // Onto itself, also through another spelling of the same path: refused, file intact.
  EXPECT_THROW(CopyFileChecked(dir.Path("a.PE25"), dir.Path("./a.PE25"), false),
               ECopyFileException);
  EXPECT_TRUE(CopyFailed);
  EXPECT_EQ(ReadAll(dir.Path("a.PE25")).size(), 1536);

  try {
    CopyFileChecked(dir.Path("missing.PE25"), dir.Path("c.PE25"), false);
    FAIL() << "copy of a missing file succeeded";
  } catch (const ECopyFileException& e) {
    EXPECT_TRUE(
        e.Message().startsWith("The following error occured during the copy file process:\r"));
    EXPECT_TRUE(e.Message().contains("No such file"));
  }
  EXPECT_THROW(CopyFileChecked(dir.Path("a.PE25"), dir.Path("b.PE25"), true), ECopyFileException);
  EXPECT_THROW(CopyFileChecked(dir.Path("a.PE25"), dir.Path("nodir/x.PE25"), false),
               ECopyFileException);
  CopyFileChecked(dir.Path("a.PE25"), dir.Path("d.PE25"), true);
  EXPECT_FALSE(CopyFailed);
  EXPECT_EQ(CountFiles(dir.Path("*.PE25")), 3);
}
