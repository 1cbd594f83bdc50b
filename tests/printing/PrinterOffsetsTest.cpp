// The printer offsets: the screen's fields and buttons, the sixteen binary values under the
// "Offsets" key (byte-exact), damaged values, and the read a form screen does when it opens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <limits>

#include "TestSupport.h"
#include "controls/DollarEdit.h"
#include "forms/FormRegistry.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "printing/PrinterOffsets.h"
#include "printing/PrinterSetup.h"
#include "storage/Globals.h"

namespace {
QStringList AllValueNames() {
  QStringList names;
  for (const TOffsetForm& f : OffsetForms())
    names << QLatin1String(f.Prefix) + "HO" << QLatin1String(f.Prefix) + "VO";
  return names;
}

class OffsetsTest : public testing::Test {
 protected:
  void SetUp() override {
    // The program lists the Form 1096 and the forms of its registry.
    QList<TOffsetForm> forms = {{"Form 1096", "F1096"}};
    for (const TFormDef* def : FormDefs()) forms.append(TOffsetForm{def->Name, def->OffsetPrefix});
    SetOffsetForms(forms);
    RegistryRoot = QStringLiteral("Software\\PapyraTest\\2025\\");
    TRegistry().DeleteKey(OffsetsKey());
    TRegistry().DeleteKey(PrinterSetupKey());
    MsgBoxScript::Clear();
    HelpScript::Clear();
    DialogScript::Clear();
  }
  std::unique_ptr<TFrmPrinterSetup> OpenScreen() {
    auto s = std::make_unique<TFrmPrinterSetup>();
    s->show();
    s->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(s.get()));
    return s;
  }
  static QString Focused() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
  }
  static QByteArray Stored(const QString& name) {
    TRegistry reg;
    if (!reg.OpenKey(OffsetsKey(), false)) return {};
    return reg.ReadBinaryData(name);
  }
  static void Store(const QString& name, const QByteArray& bytes) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(OffsetsKey(), true));
    reg.WriteBinaryData(name, bytes);
  }
};
}  // namespace

TEST_F(OffsetsTest, FreshInstallationShowsZerosAndKeepsHeldOffsets) {
  auto s = OpenScreen();
  EXPECT_EQ(s->windowTitle(), "Printer Offsets Setup");
  EXPECT_FALSE(s->windowFlags() & Qt::WindowCloseButtonHint);
  for (const QString& name : AllValueNames()) {
    ASSERT_NE(s->Field(name), nullptr) << name.toStdString();
    EXPECT_EQ(s->Field(name)->text(), "0.0000") << name.toStdString();
  }
  QStringList labels;
  for (QLabel* l : s->findChildren<QLabel*>()) labels << l->text();
  for (const char* text :
       {"Horizontal offset", "Vertical offset", "Form 1096", "Form 1098", "Form 1099-DIV",
        "Form 1099-INT", "Form 1099-MISC", "Form 1099-NEC", "Form 1099-R", "Form 1099-S"})
    EXPECT_TRUE(labels.contains(text)) << text;
  // The fields hold bare numbers; the screen says what they are.
  EXPECT_TRUE(s->findChild<QLabel*>("LblUnits")->text().startsWith("Offsets are in inches"));
  double vo = 0.3, ho = -0.2;
  EXPECT_FALSE(ReadFormOffsets("F1099NEC", vo, ho));
  EXPECT_EQ(vo, 0.3);
  EXPECT_EQ(ho, -0.2);
}

TEST_F(OffsetsTest, FieldsAreFourDecimalOffsetEdits) {
  auto s = OpenScreen();
  ExpectEveryControlNamed(s.get());
  for (const QString& name : AllValueNames()) {
    TDollarEdit* f = s->Field(name);
    EXPECT_EQ(f->DollarDigits(), 2);
    EXPECT_EQ(f->CentDigits(), 4);
    EXPECT_FALSE(f->Currency());
    EXPECT_DOUBLE_EQ(f->MaxValue(), 1.9999);
    EXPECT_TRUE(f->MinusKey());
    EXPECT_FALSE(f->RequiredField());
    EXPECT_EQ(f->alignment() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(f->MaxLength(), 8);
  }
  // Typing 1 then 5 passes the limit: the control says so and empties the field.
  TDollarEdit* f = s->Field("F1098HO");
  f->setFocus();
  QTest::keyClicks(f, "15");
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_TRUE(MsgBoxScript::LastText().contains("greater than 1.9999"));
  EXPECT_TRUE(f->text().isEmpty()) << f->text().toStdString();
}

TEST_F(OffsetsTest, OkWritesAllSixteenValuesAsLittleEndianDoubles) {
  auto s = OpenScreen();
  s->Field("F1099NECVO")->SetValue(-0.25);
  s->Field("F1096HO")->SetValue(1.5);
  s->Field("F1099SVO")->clear();  // an emptied field writes 0
  s->findChild<QPushButton*>("BtnOk")->click();
  EXPECT_EQ(s->result(), QDialog::Accepted);

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(OffsetsKey(), false));
  QStringList names = reg.ValueNames();
  names.sort();
  QStringList expected = AllValueNames();
  expected.sort();
  EXPECT_EQ(names, expected);
  EXPECT_EQ(Stored("F1099NECVO"), QByteArray::fromHex("000000000000d0bf"));
  EXPECT_EQ(Stored("F1096HO"), QByteArray::fromHex("000000000000f83f"));
  EXPECT_EQ(Stored("F1099SVO"), QByteArray(8, '\0'));
  EXPECT_EQ(Stored("F1098VO"), QByteArray(8, '\0'));

  double vo = 0, ho = 0;
  EXPECT_TRUE(ReadFormOffsets("F1099NEC", vo, ho));
  EXPECT_EQ(vo, -0.25);
  EXPECT_EQ(ho, 0.0);
  auto again = OpenScreen();
  EXPECT_EQ(again->Field("F1099NECVO")->text(), "-0.2500");
  EXPECT_EQ(again->Field("F1096HO")->text(), "1.5000");
}

TEST_F(OffsetsTest, CancelWritesNothing) {
  auto s = OpenScreen();
  s->Field("F1098HO")->SetValue(0.5);
  s->findChild<QPushButton*>("BtnCancel")->click();
  EXPECT_EQ(s->result(), QDialog::Rejected);
  EXPECT_FALSE(TRegistry().KeyExists(OffsetsKey()));
}

// Damaged values read as the zero a fresh installation has, on the screen and when printing.
TEST_F(OffsetsTest, DamagedValuesReadAsZero) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    QByteArray bytes;
    double expected;
  } cases[] = {
      {OffsetBytes(0.125), 0.125},
      {OffsetBytes(-9.9999), -9.9999},
      {QByteArray::fromHex("0000d0bf"), 0.0},  // too short
      {QByteArray(9, '\0'), 0.0},              // too long
      {OffsetBytes(nan), 0.0},
      {OffsetBytes(std::numeric_limits<double>::infinity()), 0.0},
      {OffsetBytes(5.0), 5.0},   // more than can be typed, yet a field shows it
      {OffsetBytes(10.0), 0.0},  // more than a field can show
      {OffsetBytes(-12.0), 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.toHex().toStdString());
    Store("F1099RHO", c.bytes);
    Store("F1099RVO", c.bytes);
    EXPECT_EQ(OffsetFromBytes(c.bytes), c.expected);
    double vo = 1, ho = 1;
    EXPECT_TRUE(ReadFormOffsets("F1099R", vo, ho));
    EXPECT_EQ(vo, c.expected);
    EXPECT_EQ(ho, c.expected);
    auto s = OpenScreen();
    EXPECT_EQ(s->Field("F1099RVO")->Value(), c.expected);
  }
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(OffsetsKey(), true));
    reg.WriteString("F1099RVO", "0.5");  // a value of another type
    reg.DeleteValue("F1099RHO");         // a missing value
  }
  double vo = 1, ho = 1;
  EXPECT_TRUE(ReadFormOffsets("F1099R", vo, ho));
  EXPECT_EQ(vo, 0.0);
  EXPECT_EQ(ho, 0.0);
}

TEST_F(OffsetsTest, TabAndEnterRunRowByRowAndButtonsAreNotTabStops) {
  auto s = OpenScreen();
  const QStringList order = AllValueNames();
  EXPECT_EQ(Focused(), order.first());
  for (int i = 1; i < order.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), i % 2 ? Qt::Key_Tab : Qt::Key_Return);
    EXPECT_EQ(Focused(), order[i]);
  }
  for (const char* name : {"BtnOk", "BtnCancel", "BtnSetup", "BtnHelp"})
    EXPECT_EQ(s->findChild<QPushButton*>(name)->focusPolicy() & Qt::TabFocus, 0) << name;
}

TEST_F(OffsetsTest, OnlyOkAndCancelCloseTheScreen) {
  auto s = OpenScreen();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(s->isVisible());
  s->close();
  EXPECT_TRUE(s->isVisible());
  EXPECT_FALSE(TRegistry().KeyExists(OffsetsKey()));
}

TEST_F(OffsetsTest, HelpButtonAndF1ShowTopic19) {
  auto s = OpenScreen();
  auto* help = s->findChild<QPushButton*>("BtnHelp");
  EXPECT_EQ(help->toolTip(), "Help with this form");
  help->click();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  EXPECT_EQ(HelpScript::Shown(), QList<int>({19, 19}));
}

// What the printer set-up stores stays stored whether or not the offsets are confirmed.
TEST_F(OffsetsTest, SetupShowsThePrinterSetUpOverTheScreen) {
  auto s = OpenScreen();
  QString title;
  WhenModal([&](QWidget* dlg) {
    title = dlg->windowTitle();
    Child<QPushButton>(dlg, "BtnCancel")->click();
  });
  s->findChild<QPushButton*>("BtnSetup")->click();
  EXPECT_EQ(title, "Printer Setup");
  EXPECT_TRUE(s->isVisible());
  s->findChild<QPushButton*>("BtnCancel")->click();
  EXPECT_FALSE(TRegistry().KeyExists(OffsetsKey()));
}
