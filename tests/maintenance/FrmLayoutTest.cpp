// The screens' layout in the screen font, at whatever scale the run uses (QT_SCALE_FACTOR):
// every control inside the window, none on top of another, labels not cut and on the line of
// their field. With PAPYRA_SCREENSHOT_DIR set, each screen is also saved there as a picture.
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

#include "FrmTestFixture.h"
#include "controls/StateEdit.h"
#include "maintenance/FrmPayee.h"
#include "maintenance/FrmPayer.h"
#include "maintenance/FrmScreen.h"
#include "maintenance/RecordList.h"

namespace {
QString Describe(const QWidget* w) {
  return w->objectName().isEmpty() ? QString("label \"%1\"")
                                         .arg(qobject_cast<const QLabel*>(w)
                                                  ? qobject_cast<const QLabel*>(w)->text().left(20)
                                                  : QString(w->metaObject()->className()))
                                   : w->objectName();
}

// The screen's own controls (not the inner parts of composite controls).
QList<QWidget*> Controls(QWidget* screen) {
  QList<QWidget*> controls;
  for (QWidget* w : screen->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->isVisibleTo(screen)) controls << w;
  return controls;
}

void ExpectTidy(QWidget* screen) {
  const QRect client = screen->rect();
  const QList<QWidget*> controls = Controls(screen);
  for (QWidget* w : controls) {
    SCOPED_TRACE(Describe(w).toStdString());
    EXPECT_TRUE(client.contains(w->geometry())) << "outside the window";
    if (auto* label = qobject_cast<QLabel*>(w)) {
      if (label->wordWrap())
        EXPECT_GE(label->height(), label->heightForWidth(label->width())) << "cut off";
      else
        EXPECT_GE(label->width(), label->sizeHint().width() - 2) << "cut off";
      // A label stands on its field's line, or above it as its caption, left-aligned with it.
      if (QWidget* buddy = label->buddy()) {
        if (label->geometry().bottom() < buddy->geometry().top())
          EXPECT_EQ(label->x(), buddy->x());
        else
          EXPECT_EQ(label->geometry().center().y(), buddy->geometry().center().y());
      }
    }
    for (QWidget* other : controls)
      if (other != w && w->geometry().intersects(other->geometry()))
        ADD_FAILURE() << "overlaps " << Describe(other).toStdString();
  }
}

void SaveScreenshot(QWidget* screen, const QString& name) {
  const QString dir = qEnvironmentVariable("PAPYRA_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1");
  EXPECT_TRUE(screen->grab().save(QString("%1/%2@%3.png").arg(dir, name, scale)));
}

// True when the edit shows all of text: with the text scrolled, the distance the cursor travels
// from before its first to past its last character is shorter than the text, and the cursor
// past it stands inside the edit.
bool ShowsWhole(QLineEdit* edit, const QString& text) {
  auto cursor = [edit] {
    edit->grab();  // the edit scrolls its text when it paints
    return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  };
  edit->setText(text);
  edit->setCursorPosition(0);
  const int start = cursor().left();
  edit->end(false);
  const QRect end = cursor();
  return end.left() - start >= edit->fontMetrics().horizontalAdvance(edit->displayText()) &&
         end.center().x() < edit->width();
}

// The longest value of each field that has one, and the state lists' widest code.
void ExpectValuesWhole(QWidget* screen,
                       std::initializer_list<std::pair<const char*, const char*>> values) {
  for (const auto& [name, value] : values) {
    auto* edit = screen->findChild<QLineEdit*>(QLatin1String(name));
    ASSERT_NE(edit, nullptr) << name;
    EXPECT_TRUE(ShowsWhole(edit, QLatin1String(value))) << name << " cuts " << value;
  }
  for (auto* state : screen->findChildren<TStateEdit*>())
    for (const QString& code : TStateEdit::StateList())
      EXPECT_TRUE(ShowsWhole(state->lineEdit(), code))
          << state->objectName().toStdString() << " cuts " << code.toStdString();
}

// No label's text wider than the label, wrapped texts as high as their lines.
void ExpectLabelsWhole(QWidget* screen) {
  for (auto* label : screen->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    SCOPED_TRACE(Describe(label).toStdString());
    if (label->wordWrap())
      EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    else
      EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
  }
}

TPayerRecord SamplePayer() {
  TPayerRecord p;
  const std::pair<const char*, const char*> fields[] = {
      {"PayerName", "Riverside Landscaping Company LLC"},
      {"TradeName", "Riverside Gardens"},
      {"Address1", "4821 North Westwood Boulevard"},
      {"Address2", "Suite 210"},
      {"City", "Springfield"},
      {"State", "IL"},
      {"ZipCode", "62704-1234"},
      {"Contact", "Margaret O'Donnell"},
      {"PhoneNum", "217-555-0148"},
      {"FaxNum", "217-555-0149"},
      {"Email", "payroll@riverside-gardens.example"},
      {"EmpIDNum", "36-4821573"},
      {"SocSecNum", "   -  -    "},
      {"StateName1", "IL"},
      {"StateID1", "482157301234"},
      {"StateName2", "WI"},
      {"StateID2", "990012"},
      {"Locality1", "Sangamon County"},
      {"Locality2", "Madison"},
      {"RTN", "071000013"},
      {"SignerName", "Margaret O'Donnell"},
      {"SignerTitle", "Managing Member"},
  };
  for (const auto& [name, value] : fields) p.SetString(name, value);
  return p;
}

std::vector<TPayeeRecord> SamplePayees() {
  return {MakePayee("Smith Hardware Inc"),
          MakePayee("", "Adams", "John"),
          MakePayee("", "adams", "Beth"),
          MakePayee("Baker & Sons Plumbing"),
          MakePayee("", "Vandenberghe-Williamson", "Christopher"),
          MakePayee("", "Ng", "Li"),
          MakePayee("Orchard Valley Trust")};
}
}  // namespace

using FrmLayoutTest = PayerFileTest;

TEST_F(FrmLayoutTest, PayerScreenIsTidy) {
  Open({}, SamplePayer());
  PayerRec = SamplePayer();
  TFrmPayer screen;
  screen.show();
  EXPECT_GE(screen.width(), 580);
  EXPECT_GE(screen.height(), 380);
  ExpectTidy(&screen);
  ExpectEveryControlNamed(&screen);
  SaveScreenshot(&screen, "payer-screen");
}

TEST_F(FrmLayoutTest, PayeeScreenIsTidy) {
  std::vector<TPayeeRecord> payees = SamplePayees();
  TPayeeRecord& shown = payees[4];
  shown.SetString("CompName", "Vandenberghe Design Studio");
  shown.SetString("Address1", "1187 Lakeshore Drive Apt 12B");
  shown.SetString("City", "Milwaukee");
  shown.SetString("State", "WI");
  shown.SetString("ZipCode", "53202-4410");
  shown.SetString("SSN_IDNum", "412-55-7781");
  Open(payees);
  Payees()->SetCurrentRecord(5);
  TFrmPayee screen;
  screen.show();
  EXPECT_GE(screen.width(), 452);
  EXPECT_GE(screen.height(), 291);
  ExpectTidy(&screen);
  ExpectEveryControlNamed(&screen);
  SaveScreenshot(&screen, "payee-screen");
}

// The screens' font is Tahoma itself (Wine's Tahoma, added at start), with the metrics the
// screens were designed for, not a wider stand-in.
TEST_F(FrmLayoutTest, TheScreensTahomaIsTahoma) {
  Open(SamplePayees(), SamplePayer());
  PayerRec = SamplePayer();
  TFrmPayer payer;
  TFrmPayee payee;
  for (QWidget* screen : {static_cast<QWidget*>(&payer), static_cast<QWidget*>(&payee)}) {
    SCOPED_TRACE(screen->metaObject()->className());
    screen->show();
    EXPECT_EQ(QFontInfo(screen->font()).family(), "Tahoma");
    for (auto* label : screen->findChildren<QLabel*>())
      EXPECT_EQ(QFontInfo(label->font()).family(), "Tahoma") << label->text().toStdString();
    ExpectTidy(screen);
    screen->hide();
  }
}

// In Wine's Tahoma, the font the screens are designed in, each screen keeps its designed client
// size with every label whole, the longest value of each numbered field shown whole and no
// control on another.
TEST_F(FrmLayoutTest, ScreensKeepTheirDesignedSizeInTahoma) {
  if (QFontInfo(ScreenFont()).family() != QLatin1String("Tahoma"))
    GTEST_SKIP() << "Wine's Tahoma is not installed (fonts-wine): the screens grow for the "
                    "stand-in font, their designed sizes do not apply";
  Open(SamplePayees(), SamplePayer());
  PayerRec = SamplePayer();
  TFrmPayer payer;
  TFrmPayee payee;
  struct Case {
    QWidget* screen;
    QSize design;
    std::initializer_list<std::pair<const char*, const char*>> values;
  };
  const Case cases[] = {
      {&payer,
       {580, 380},
       {{"ZipCode", "00000-0000"},
        {"PhoneNum", "000-000-0000"},
        {"FaxNum", "000-000-0000"},
        {"EmpIDNum", "00-0000000"},
        {"SocSecNum", "000-00-0000"},
        {"StateID1", "000000000000"},
        {"StateID2", "000000000000"},
        {"RTN", "000000000"},
        {"Locality1", "Sangamon County"},
        {"Email", "payroll@riverside-gardens.example"}}},
      {&payee, {452, 291}, {{"ZipCode", "00000-0000"}, {"SSN_IDNum", "000-00-0000"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen->metaObject()->className());
    c.screen->show();
    EXPECT_EQ(c.screen->size(), c.design);
    ExpectTidy(c.screen);
    ExpectLabelsWhole(c.screen);
    ExpectValuesWhole(c.screen, c.values);
    c.screen->hide();
  }
}

TEST_F(FrmLayoutTest, RecordListIsTidy) {
  Open(SamplePayees());
  bool shown = false;
  WhenModal([&](QWidget* w) {
    auto* list = qobject_cast<TFrmRecList*>(w);
    ASSERT_NE(list, nullptr);
    shown = true;
    list->RecordListBox->setCurrentRow(1);
    ExpectTidy(list);
    ExpectTidy(list->PanelContainer);
    SaveScreenshot(list, "record-list");
    list->BtnCancel->click();
  });
  ShowRecordList();
  EXPECT_TRUE(shown);
}
