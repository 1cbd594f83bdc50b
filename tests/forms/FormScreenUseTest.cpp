// Every form screen as a keyboard, a screen reader and a scaled screen meet it: what a paste, the
// calculator and typed text leave in the stored record, where the focus opens and how it shows,
// and the name every control gives a screen reader.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QTest>
#include <functional>
#include <initializer_list>
#include <memory>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/CheckBoxEdit.h"
#include "controls/DateEdit.h"
#include "controls/DollarEdit.h"
#include "controls/FilterEdit.h"
#include "forms/FormFace.h"
#include "forms/Frm1096.h"
#include "platform/Application.h"
#include "platform/Services.h"

namespace {
template <class TScreen>
std::unique_ptr<QWidget> Make() {
  return std::make_unique<TScreen>();
}

struct TScreenCase {
  const char* form;
  std::function<std::unique_ptr<QWidget>()> make;
  const char* firstBox;  // where the focus opens
};

const TScreenCase kScreens[] = {
    {"1098", Make<TFrm1098>, "F1098_1"},          {"1099-DIV", Make<TFrm1099DIV>, "F1099DIV1a"},
    {"1099-INT", Make<TFrm1099INT>, "F1099INT1"}, {"1099-MISC", Make<TFrm1099MISC>, "F1099MISC1"},
    {"1099-NEC", Make<TFrm1099NEC>, "F1099NEC1"}, {"1099-R", Make<TFrm1099R>, "F1099R1"},
    {"1099-S", Make<TFrm1099S>, "F1099S1"},       {"1096", Make<TFrm1096>, "CB1098"},
};

class FormScreenUseTest : public TFormsTest {
 protected:
  // The first payee with 538.50 in box 1 of the 1099-NEC and what flag names ticked.
  void OpenTwo(std::initializer_list<const char*> flags = {}) {
    TPayeeRecord first =
        SamplePayee(QStringLiteral("Adams, Ann"), QStringLiteral("123-45-6789"), 538.50);
    for (const char* flag : flags) first.SetBool(flag, true);
    OpenPayerFile(SamplePayer(), {first, SamplePayee(QStringLiteral("Baker, Bob"),
                                                     QStringLiteral("345-67-8901"), 90)});
  }
  // Gives the box the focus anew, as Tab from the box before it does.
  static void Reenter(TFrmFormScreen& screen, QWidget* box, const char* other) {
    screen.Control(QLatin1String(other))->setFocus(Qt::TabFocusReason);
    box->setFocus(Qt::TabFocusReason);
  }
};

// Types text key by key as a keyboard sends it: a character outside the basic plane comes as one
// key with both halves of its surrogate pair.
void TypeChars(QWidget* box, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
    QApplication::sendEvent(box, &release);
    i += n - 1;
  }
}

// Every accessible object under a window, depth first.
void Walk(QAccessibleInterface* node, const std::function<void(QAccessibleInterface*)>& visit) {
  if (!node) return;
  visit(node);
  for (int i = 0; i < node->childCount(); ++i) Walk(node->child(i), visit);
}

// The colour painted in the middle of a box's left margin, inside its frame, away from its text.
QColor PaintedBackground(QWidget* box) {
  const QImage image = box->grab().toImage();
  const auto* edit = qobject_cast<QLineEdit*>(box);
  return image.pixelColor(edit && edit->hasFrame() ? 3 : 1, image.height() / 2);
}

TEST_F(FormScreenUseTest, APasteGivesAnAmountTheBoxCouldBeTypedToOrIsRefused) {
  const struct {
    const char* pasted;
    bool caretAtEnd;  // else over the amount, selected as the box is entered
    double stored;
  } cases[] = {
      {"1,234.56", true, 538.50},  // "538.501,234.56" is no amount
      {"1,234.56", false, 1234.56},
      {"$2,500", false, 2500},
      {" 75.5 ", false, 75.5},
      {"12345678901234567890", false, 538.50},  // more dollar digits than the box has
      {"1234567890", false, 538.50},
      {"-50", false, 538.50},  // no minus may be typed here
      {"12.345", false, 538.50},
      {"twelve", false, 538.50},
      {"", false, 538.50},
  };
  OpenTwo();
  TFrm1099NEC screen;
  ShowActive(screen);
  TDollarEdit* box = Money(screen, "F1099NEC1");
  for (const auto& c : cases) {
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_V, Qt::ControlModifier},
                                         std::pair{Qt::Key_Insert, Qt::ShiftModifier}}) {
      box->SetValue(538.50);
      Reenter(screen, box, "F1099NEC3");
      if (c.caretAtEnd) QTest::keyClick(box, Qt::Key_End);
      QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
      const int beeps = BeepCount();
      QTest::keyClick(box, key, modifiers);
      screen.FormClose();
      EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099NEC1"), c.stored) << c.pasted;
      // A refused paste beeps and leaves the box as it was.
      EXPECT_EQ(BeepCount() > beeps, c.stored == 538.50) << c.pasted;
      EXPECT_DOUBLE_EQ(box->Value(), c.stored) << c.pasted;
    }
  }
}

TEST_F(FormScreenUseTest, ACalculatorResultIsStoredInCents) {
  OpenTwo();
  TFrm1099NEC screen;
  ShowActive(screen);
  TDollarEdit* box = Money(screen, "F1099NEC1");
  Reenter(screen, box, "F1099NEC3");
  WhenModal(
      [](QWidget* calculator) { QTest::keyClicks(calculator, QStringLiteral("1234.5678p")); });
  QTest::keyClick(box, Qt::Key_C);
  EXPECT_EQ(box->text(), QStringLiteral("1234.57"));
  screen.FormClose();  // without leaving the box first
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099NEC1"), 1234.57);
}

TEST_F(FormScreenUseTest, CharactersTheFileCannotHoldAreRefusedSoWhatIsShownIsStored) {
  const struct {
    const char* form;
    std::function<std::unique_ptr<QWidget>()> make;
    const char* box;
  } boxes[] = {
      {"1099-S", Make<TFrm1099S>, "F1099S3_1"},  // a plain text box
      {"1098", Make<TFrm1098>, "F1098_8_1"},     // a filter box that admits any character
  };
  const struct {
    const char* text;
    bool paste;
    const char* shown;  // from an empty box: the refused characters left out
    bool beep;
  } cases[] = {
      {"Caf\u00e9 \u20ac5", false, "Caf\u00e9 \u20ac5", false},  // é and €
      {"Lot \U0001F6007", false, "Lot 7", true},                 // an emoji
      {"\u03a9mega", false, "mega", true},                       // Ω
      {"Main St \u2013 5", true, "Main St \u2013 5", false},     // an en dash
      {"Lot \U0001F600", true, "Lot ", true},
  };
  for (const auto& b : boxes) {
    for (const auto& c : cases) {
      OpenTwo();
      std::unique_ptr<QWidget> window = b.make();
      auto& screen = static_cast<TFrmFormScreen&>(*window);
      ShowActive(screen);
      QLineEdit* box = Edit(screen, QLatin1String(b.box));
      box->setFocus();
      box->clear();
      const int beeps = BeepCount();
      if (c.paste) {
        QApplication::clipboard()->setText(QString::fromUtf8(c.text));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
      } else {
        TypeChars(box, QString::fromUtf8(c.text));
      }
      const QString shown = QString::fromUtf8(c.shown);
      EXPECT_EQ(box->text(), shown) << b.form << " " << c.text;
      EXPECT_EQ(BeepCount() > beeps, c.beep) << b.form << " " << c.text;
      screen.SaveFormFields();
      Module->RSPayee->PostRec();
      const QString stored = PayeesOnDisk()[0].GetString(b.box);
      EXPECT_EQ(stored.trimmed(), shown.trimmed()) << b.form << " " << c.text;
      window.reset();
      ClosePayerFile();
    }
  }
}

TEST_F(FormScreenUseTest, EveryScreenOpensInItsFirstBoxAndPaintsTheFocusColour) {
  OpenTwo();
  for (const TScreenCase& s : kScreens) {
    std::unique_ptr<QWidget> screen = s.make();
    ShowActive(*screen);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr) << s.form;
    EXPECT_EQ(focused->objectName(), QLatin1String(s.firstBox)) << s.form;
    EXPECT_EQ(PaintedBackground(focused), TFrmFormScreen::FocusColor) << s.form;
    // The picture is never a stop: Tab through the whole screen meets only boxes.
    EXPECT_EQ(screen->findChild<QScrollArea*>()->focusPolicy(), Qt::NoFocus) << s.form;
    for (int i = 0; i < 40; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* now = QApplication::focusWidget();
      EXPECT_TRUE(qobject_cast<QLineEdit*>(now)) << s.form << " " << now->metaObject()->className();
      EXPECT_EQ(PaintedBackground(now), TFrmFormScreen::FocusColor)
          << s.form << " " << now->objectName().toStdString();
    }
    static_cast<QDialog*>(screen.get())->reject();
  }
}

TEST_F(FormScreenUseTest, TheCorrectedBoxHasAKeyOfItsOwn) {
  OpenTwo();
  TFrm1099NEC screen;
  ShowActive(screen);
  QWidget* corrected = screen.Control(QStringLiteral("Corrected"));
  EXPECT_EQ(corrected->focusPolicy(), Qt::ClickFocus);  // not in the tab order
  EXPECT_TRUE(corrected->toolTip().contains(QStringLiteral("Alt + O")));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), corrected);
  EXPECT_EQ(PaintedBackground(corrected), TFrmFormScreen::FocusColor);
  QTest::keyClick(corrected, Qt::Key_Space);
  screen.FormClose();
  EXPECT_TRUE(PayeesOnDisk()[0].GetBool("Corrected1099NEC"));
}

TEST_F(FormScreenUseTest, EveryControlOfEveryScreenHasANameAndCheckBoxesTheirState) {
  OpenTwo({"Corrected1099NEC", "F1099NEC2"});
  for (const TScreenCase& s : kScreens) {
    std::unique_ptr<QWidget> screen = s.make();
    ShowActive(*screen);
    int focusable = 0;
    Walk(QAccessible::queryAccessibleInterface(screen.get()), [&](QAccessibleInterface* a) {
      QWidget* w = qobject_cast<QWidget*>(a->object());
      if (!w || w == screen.get() || !w->isVisible()) return;
      if (a->state().focusable || qobject_cast<QAbstractButton*>(w)) {
        ++focusable;
        EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty())
            << s.form << " " << w->objectName().toStdString() << " "
            << w->metaObject()->className();
      }
      if (auto* box = qobject_cast<TCheckBoxEdit*>(w)) {
        EXPECT_EQ(a->role(), QAccessible::CheckBox)
            << s.form << " " << w->objectName().toStdString();
        EXPECT_TRUE(a->state().checkable) << s.form;
        EXPECT_EQ(bool(a->state().checked), box->Checked()) << s.form;
      }
    });
    EXPECT_GT(focusable, 5) << s.form;
    // A value on the form reads with the caption of its box.
    if (auto* form = qobject_cast<TFrmFormScreen*>(screen.get())) {
      for (const TLabelDef& l : form->Def().Labels) {
        if (!l.Caption) continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(form->Label(l.Name));
        EXPECT_EQ(a->text(QAccessible::Description), QString::fromUtf8(l.Caption)) << l.Name;
      }
    }
    static_cast<QDialog*>(screen.get())->reject();
  }
}

TEST_F(FormScreenUseTest, ABoxIsNamedByTheCaptionOfItsBoxOnTheForm) {
  OpenTwo({"F1099NEC2"});
  TFrm1099NEC screen;
  const struct {
    const char* control;
    const char* name;
  } cases[] = {
      {"F1099NEC1", "Box 1 Nonemployee compensation"},
      {"F1099NEC4", "Box 4 Federal income tax withheld"},
      {"AcctNum1099NEC", "Account number (see instructions)"},
      {"Corrected", "CORRECTED"},
  };
  for (const auto& c : cases) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(screen.Control(c.control));
    EXPECT_EQ(a->text(QAccessible::Name), QLatin1String(c.name));
  }
  QAccessibleInterface* box2 = QAccessible::queryAccessibleInterface(screen.Control("F1099NEC2"));
  EXPECT_EQ(box2->role(), QAccessible::CheckBox);
  EXPECT_TRUE(box2->state().checked);
  QAccessibleInterface* payer = QAccessible::queryAccessibleInterface(screen.Label("Address"));
  EXPECT_EQ(payer->text(QAccessible::Description), QStringLiteral("Payer's street address"));
  EXPECT_EQ(payer->text(QAccessible::Name), QStringLiteral("1234 Industrial Pkwy Suite 200"));
}

// Run also with a larger font resolution (QT_FONT_DPI=144): the texts keep their size on the
// picture, so the widest amount, the widest state number and the captions fit their boxes.
TEST_F(FormScreenUseTest, EveryTextFitsItsBox) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("StateID1", QStringLiteral("WW-9999999"));
  OpenPayerFile(payer,
                {SamplePayee(QStringLiteral("Adams, Ann"), QStringLiteral("123-45-6789"), 1)});
  for (const TScreenCase& s : kScreens) {
    std::unique_ptr<QWidget> screen = s.make();
    ShowActive(*screen);
    for (QLineEdit* box : screen->findChildren<QLineEdit*>()) {
      if (auto* money = qobject_cast<TDollarEdit*>(box)) money->SetValue(999999999);
      if (auto* check = qobject_cast<TCheckBoxEdit*>(box)) check->SetChecked(true);
      const QString text = box->text();
      const QFontMetricsF metrics(box->font());
      EXPECT_LE(metrics.horizontalAdvance(text), box->contentsRect().width())
          << s.form << " " << box->objectName().toStdString() << " " << text.toStdString();
      // A text box holds a whole line, a check box at least its mark.
      const bool check = qobject_cast<TCheckBoxEdit*>(box);
      EXPECT_LE(check ? metrics.tightBoundingRect(text).height() : metrics.height(),
                box->height() + (check ? 0 : 2))
          << s.form << " " << box->objectName().toStdString();
    }
    for (QLabel* label : screen->findChildren<QLabel*>()) {
      if (label->pixmap().isNull() == false || !label->isVisible() || label->wordWrap()) continue;
      const QString shown = label->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
      EXPECT_LE(QFontMetricsF(label->font()).horizontalAdvance(shown),
                label->contentsRect().width() + 1)
          << s.form << " " << label->objectName().toStdString() << " " << shown.toStdString();
    }
    static_cast<QDialog*>(screen.get())->reject();
  }
}

// The "$" before an amount and the "%" after a percentage stay whole beside the box that holds
// the number (box 8 of the 1099-R had both half hidden).
TEST_F(FormScreenUseTest, NoBoxHidesTheDollarOrPercentSignOfItsNumber) {
  OpenTwo();
  int marks = 0;
  for (const TScreenCase& s : kScreens) {
    std::unique_ptr<QWidget> screen = s.make();
    auto* form = dynamic_cast<TFrmFormScreen*>(screen.get());
    if (!form) continue;  // the 1096 draws no amounts of its own boxes
    ShowActive(*screen);
    for (const TFormFace::TCaptionLine& line : form->Face().CaptionLines()) {
      if (line.Text != "$" && line.Text != "%") continue;
      ++marks;
      for (QLineEdit* box : screen->findChildren<QLineEdit*>())
        EXPECT_FALSE(box->geometry().intersects(line.Rect))
            << s.form << " " << box->objectName().toStdString() << " over "
            << line.Text.toStdString();
    }
  }
  EXPECT_GT(marks, 50);
}

TEST_F(FormScreenUseTest, ThePictureIsDrawnInTheScreensOwnPixels) {
  OpenTwo();
  TFormFace face(QStringLiteral("Form1099NEC"), QRectF(QPointF(0.4, 0.42), QPointF(8.1, 4.45)),
                 110);
  for (const qreal ratio : {1.0, 1.25, 2.0}) {
    const QPixmap picture = face.Picture(ratio);
    EXPECT_EQ(picture.deviceIndependentSize().toSize(), face.PictureSize()) << ratio;
    EXPECT_EQ(picture.size(), face.PictureSize() * ratio) << ratio;
  }
}
}  // namespace

// A click that misses the small field of a box, on its caption or its empty area, puts the
// focus in that box, so typing goes where the user looks; a click outside every box leaves the
// focus where it was and lets the next key only select what that box holds.
TEST_F(FormScreenUseTest, AClickAnywhereInABoxTypesIntoThatBox) {
  TPayeeRecord borrower =
      SampleBorrower(QStringLiteral("Adams, Ann"), QStringLiteral("123-45-6789"), 1234.50);
  borrower.SetString("F1098_11", QStringLiteral("03/15/2019"));
  OpenPayerFile(SamplePayer(), {borrower});
  TFrm1098 screen;
  ShowActive(screen);
  // The corner of a box is its caption's ("10 Other"), never the field itself.
  auto clickCorner = [&](const char* control) {
    const QRect box = screen.BoxOf(QLatin1String(control));
    ASSERT_FALSE(box.isNull()) << control;
    const QPoint corner = box.topLeft() + QPoint(3, 3);
    ASSERT_FALSE(screen.Control(QLatin1String(control))->geometry().contains(corner)) << control;
    QTest::mouseClick(screen.Picture(), Qt::LeftButton, {}, corner);
  };
  Money(screen, "F1098_1")->setFocus(Qt::TabFocusReason);
  clickCorner("F1098_10");
  QTest::keyClicks(QApplication::focusWidget(), "Rent 2025");
  EXPECT_EQ(Edit(screen, "F1098_10")->text(), "Rent 2025");
  EXPECT_EQ(Date(screen, "F1098_11")->text(), "03/15/2019");
  EXPECT_EQ(Money(screen, "F1098_1")->Value(), 1234.50);
  clickCorner("F1098_11");
  EXPECT_EQ(QApplication::focusWidget(), Date(screen, "F1098_11"));
  clickCorner("F1098_1");
  EXPECT_EQ(QApplication::focusWidget(), Money(screen, "F1098_1"));
  EXPECT_EQ(Money(screen, "F1098_1")->palette().color(QPalette::Base), TFrmFormScreen::FocusColor);

  // Outside every box (the margin of the picture) the focus stays in the date box; the first key
  // selects its date with a beep and changes nothing, the next acts on the selected date.
  Date(screen, "F1098_11")->setFocus(Qt::TabFocusReason);
  Date(screen, "F1098_11")->setCursorPosition(3);
  QTest::mouseClick(screen.Picture(), Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_EQ(QApplication::focusWidget(), Date(screen, "F1098_11"));
  const int beeps = BeepCount();
  QWidget* focused = QApplication::focusWidget();
  QTest::keyPress(focused, Qt::Key_Shift);  // a capital T, as a keyboard sends it
  QTest::keyClick(focused, Qt::Key_T, Qt::ShiftModifier);
  QTest::keyRelease(focused, Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_EQ(BeepCount() - beeps, 1);
  EXPECT_EQ(Date(screen, "F1098_11")->text(), "03/15/2019");
  EXPECT_EQ(Date(screen, "F1098_11")->selectedText(), "03/15/2019");
  QTest::keyClicks(QApplication::focusWidget(), "04012020");
  EXPECT_EQ(Date(screen, "F1098_11")->text(), "04/01/2020");
}

// A key a full text box cannot take is refused with a beep, never dropped in silence ("Rent
// 2025" typed at the end of box 10 lost "t 2025" without a sound).
TEST_F(FormScreenUseTest, AFullTextBoxRefusesTheNextKeyAloud) {
  OpenTwo();
  TFrm1098 screen;
  ShowActive(screen);
  for (const char* name : {"F1098_10", "AcctNum1098"}) {
    auto* box = static_cast<QLineEdit*>(screen.Control(QLatin1String(name)));
    box->setFocus(Qt::TabFocusReason);
    box->setText(QString(box->maxLength(), QLatin1Char('7')));
    box->end(false);
    const int beeps = BeepCount();
    QTest::keyClicks(box, "8");
    EXPECT_EQ(BeepCount() - beeps, 1) << name;
    EXPECT_EQ(box->text(), QString(box->maxLength(), QLatin1Char('7'))) << name;
    box->backspace();
    QTest::keyClicks(box, "8");
    EXPECT_EQ(BeepCount() - beeps, 1) << name << ": a key that fits is taken quietly";
    EXPECT_TRUE(box->text().endsWith(QLatin1Char('8'))) << name;
  }
}

// An account number holds letters, digits and dashes: what else the user types or pastes is left
// out with a beep and a note that names it, never without a word.
TEST_F(FormScreenUseTest, AnAccountNumberSaysWhatItLeavesOut) {
  OpenTwo();
  TFrm1099NEC screen;
  ShowActive(screen);
  auto* account = static_cast<TFilterEdit*>(screen.Control("AcctNum1099NEC"));
  QStringList notes;
  QObject::connect(account, &TFilterEdit::refused, [&](const QString& note) { notes << note; });
  account->setFocus(Qt::TabFocusReason);
  const int beeps = BeepCount();
  QTest::keyClicks(account, "#ab 1-2");
  EXPECT_EQ(account->text(), "AB1-2");
  EXPECT_EQ(BeepCount() - beeps, 2);
  EXPECT_EQ(notes, QStringList({"An account number holds only letters, digits and \"-\" (left "
                                "out: \"#\").",
                                "An account number holds only letters, digits and \"-\" (left "
                                "out: space)."}));
  QApplication::clipboard()->setText("No. 77");
  notes.clear();
  QTest::keyClick(account, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(account->text(), "AB1-2NO77");
  EXPECT_EQ(notes.size(), 1);
  EXPECT_TRUE(notes.value(0).endsWith("(left out: \".\", space)."));
}
