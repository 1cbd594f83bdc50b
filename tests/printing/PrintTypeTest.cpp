// The print type choice: its controls, and how each way of closing it answers.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "TestSupport.h"
#include "printing/PrintType.h"
#include "storage/Globals.h"

TEST(PrintType, OpensWithProgramGeneratedCheckedAndRedCopyOffered) {
  MaskSSNOption = true;
  QString caption, groupTitle, maskText, okText, cancelText, focused;
  bool progChecked = false, redEnabled = false, maskChecked = false, okDefault = false;
  WhenModal([&](QWidget* w) {
    caption = w->windowTitle();
    auto* prog = Child<QRadioButton>(w, "RBProgGen");
    auto* red = Child<QRadioButton>(w, "RBRedCopy");
    auto* chk = Child<QCheckBox>(w, "ChkMaskSSN");
    auto* ok = Child<QPushButton>(w, "BtnOk");
    groupTitle = Child<QGroupBox>(w)->title();
    progChecked = prog->isChecked();
    redEnabled = red->isEnabled();
    maskChecked = chk->isChecked();
    maskText = chk->text();
    okText = ok->text();
    okDefault = ok->isDefault();
    cancelText = Child<QPushButton>(w, "BtnCancel")->text();
    focused = w->focusWidget() ? w->focusWidget()->objectName() : QString();
    ok->click();
  });
  EXPECT_EQ(ChoosePrintType("Form 1099-NEC"), ptProgramGenerated);
  EXPECT_EQ(caption, "Form 1099-NEC");
  EXPECT_EQ(groupTitle, "Select type of Form");
  EXPECT_TRUE(progChecked);
  EXPECT_TRUE(redEnabled);
  EXPECT_TRUE(maskChecked);
  EXPECT_EQ(maskText, "&Mask SSN on Program Generated Copy");
  EXPECT_EQ(okText, "&Ok");
  EXPECT_TRUE(okDefault);
  EXPECT_EQ(cancelText, "&Cancel");
  EXPECT_EQ(focused, "RBProgGen");
}

TEST(PrintType, DialogKeepsItsOwnCaptionUntilTheCallerReplacesIt) {
  TFrmSelectFormType dlg;
  EXPECT_EQ(dlg.windowTitle(), "Print Setup");
  EXPECT_EQ(dlg.Selection(), ptProgramGenerated);
}

// Every way out takes the check box into the mask option; only Ok answers a selection.
TEST(PrintType, MaskOptionFollowsTheCheckBoxHoweverTheDialogCloses) {
  enum TClose { byOk, byCancel, byEscape, byEnter };
  struct Case {
    bool maskBefore;
    bool toggle;
    TClose close;
    int result;
    bool maskAfter;
  };
  const Case cases[] = {
      {true, false, byOk, ptProgramGenerated, true},
      {true, true, byOk, ptProgramGenerated, false},
      {false, true, byOk, ptProgramGenerated, true},
      {true, true, byCancel, ptCancelled, false},
      {false, true, byCancel, ptCancelled, true},
      {false, false, byEscape, ptCancelled, false},
      {true, true, byEscape, ptCancelled, false},
      {false, false, byEnter, ptProgramGenerated, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "mask " << c.maskBefore << " toggle " << c.toggle << " close " << c.close);
    MaskSSNOption = c.maskBefore;
    WhenModal([&](QWidget* w) {
      if (c.toggle) Child<QCheckBox>(w, "ChkMaskSSN")->click();
      switch (c.close) {
        case byOk:
          Child<QPushButton>(w, "BtnOk")->click();
          break;
        case byCancel:
          Child<QPushButton>(w, "BtnCancel")->click();
          break;
        case byEscape:
          QTest::keyClick(w, Qt::Key_Escape);
          break;
        case byEnter:
          QTest::keyClick(Child<QRadioButton>(w, "RBProgGen"), Qt::Key_Return);
          break;
      }
    });
    EXPECT_EQ(ChoosePrintType("Form 1096"), c.result);
    EXPECT_EQ(MaskSSNOption, c.maskAfter);
  }
}

// Users who file on paper print Copy A and the Form 1096 on the IRS's red-ink forms.
TEST(PrintType, RedCopyIsChosenByClickOrKeys) {
  const std::function<void(QWidget*)> choose[] = {
      [](QWidget* w) {
        QTest::mouseClick(w->findChild<QRadioButton*>("RBRedCopy"), Qt::LeftButton);
      },
      [](QWidget* w) { QTest::keyClick(w->findChild<QRadioButton*>("RBRedCopy"), Qt::Key_Space); },
  };
  for (const auto& pick : choose) {
    // The mask, the copies and the instructions are the program-generated forms' own: a red
    // copy (Copy A) never masks, so its choices are shown off while it is picked.
    QList<bool> offForRed, onAgain;
    WhenModal([&](QWidget* w) {
      const QList<QWidget*> choices = {w->findChild<QCheckBox*>("ChkMaskSSN"),
                                       w->findChild<QCheckBox*>("ChkInstructions"),
                                       w->findChild<QRadioButton*>("RBCopyB")};
      pick(w);
      for (QWidget* c : choices) offForRed << c->isEnabled();
      w->findChild<QRadioButton*>("RBProgGen")->click();
      for (QWidget* c : choices) onAgain << c->isEnabled();
      pick(w);
      Child<QPushButton>(w, "BtnOk")->click();
    });
    EXPECT_EQ(ChoosePrintType("Form 1098"), ptPreprinted);
    EXPECT_EQ(offForRed, QList<bool>({false, false, false}));
    EXPECT_EQ(onAgain, QList<bool>({true, true, true}));
  }
}

// The copy and the instructions are seeded from the held choice and taken back however the
// dialog closes, like the mask; the instructions belong to Copy B only.
TEST(PrintType, CopyAndInstructionsChoicesAreHeldLikeTheMask) {
  CopyChoice() = TCopyChoice{};
  bool copyBChecked = false, instructionsChecked = false, instructionsEnabledForC = true;
  QString instructionsText;
  WhenModal([&](QWidget* w) {
    auto* chk = Child<QCheckBox>(w, "ChkInstructions");
    copyBChecked = Child<QRadioButton>(w, "RBCopyB")->isChecked();
    instructionsChecked = chk->isChecked();
    instructionsText = chk->text();
    Child<QRadioButton>(w, "RBCopyC")->click();
    instructionsEnabledForC = chk->isEnabled();
    Child<QPushButton>(w, "BtnCancel")->click();
  });
  EXPECT_EQ(ChoosePrintType("Form 1099-NEC"), ptCancelled);
  EXPECT_TRUE(copyBChecked);
  EXPECT_TRUE(instructionsChecked);
  EXPECT_EQ(instructionsText, "Include instructions for recipient");
  EXPECT_FALSE(instructionsEnabledForC);
  EXPECT_TRUE(CopyChoice().PayerCopy);
  EXPECT_FALSE(CopyChoice().WithInstructions());

  bool copyCChecked = false;
  WhenModal([&](QWidget* w) {
    copyCChecked = Child<QRadioButton>(w, "RBCopyC")->isChecked();
    Child<QRadioButton>(w, "RBCopyB")->click();
    Child<QCheckBox>(w, "ChkInstructions")->click();
    Child<QPushButton>(w, "BtnOk")->click();
  });
  EXPECT_EQ(ChoosePrintType("Form 1099-NEC"), ptProgramGenerated);
  EXPECT_TRUE(copyCChecked);
  EXPECT_FALSE(CopyChoice().PayerCopy);
  EXPECT_FALSE(CopyChoice().Instructions);
  EXPECT_EQ(CopyChoice().Copy(), "B");
  CopyChoice() = TCopyChoice{};
}

// Each copy has its own mask: the box shows the recipient's (on by default) for Copy B and the
// payer's own (off by default) for Copy C, swaps as the copy changes, and both are held.
TEST(PrintType, CopyCHasItsOwnMaskOffByDefault) {
  MaskSSNOption = true;
  CopyChoice() = TCopyChoice{};
  QList<bool> shown;
  WhenModal([&](QWidget* w) {
    auto* mask = w->findChild<QCheckBox*>("ChkMaskSSN");
    shown << mask->isChecked();
    w->findChild<QRadioButton*>("RBCopyC")->click();
    shown << mask->isChecked();
    w->findChild<QRadioButton*>("RBCopyB")->click();
    shown << mask->isChecked();
    w->findChild<QRadioButton*>("RBCopyC")->click();
    mask->click();  // the payer asks for its copy masked too
    w->findChild<QPushButton*>("BtnOk")->click();
  });
  EXPECT_EQ(ChoosePrintType("Form 1099-NEC"), ptProgramGenerated);
  EXPECT_EQ(shown, (QList<bool>{true, false, true}));
  EXPECT_TRUE(MaskSSNOption);
  EXPECT_TRUE(CopyChoice().MaskPayerCopy);
  EXPECT_TRUE(CopyChoice().MaskTIN());

  bool shownForC = false;
  WhenModal([&](QWidget* w) {
    shownForC = w->findChild<QCheckBox*>("ChkMaskSSN")->isChecked();
    w->findChild<QCheckBox*>("ChkMaskSSN")->click();
    w->findChild<QRadioButton*>("RBCopyB")->click();
    w->findChild<QPushButton*>("BtnOk")->click();
  });
  EXPECT_EQ(ChoosePrintType("Form 1099-NEC"), ptProgramGenerated);
  EXPECT_TRUE(shownForC);
  EXPECT_FALSE(CopyChoice().PayerCopy);
  EXPECT_FALSE(CopyChoice().MaskPayerCopy);
  EXPECT_TRUE(MaskSSNOption);
  EXPECT_TRUE(CopyChoice().MaskTIN());
  CopyChoice() = TCopyChoice{};
}

// What a form screen's Print adds: the alignment page and the payees to print. Choosing "Chosen
// payees" asks for them at once; when none are checked the choice falls back to all payees.
TEST(PrintType, OffersTheAlignmentPageAndTheChoiceOfPayees) {
  TPrintTypeOffer offer;
  offer.Payees = offer.Alignment = true;
  offer.CountForms = [](const TPayeeSelection& s) {
    return s.Scope == TPayeeScope::All         ? 20
           : s.Scope == TPayeeScope::Corrected ? 3
                                               : int(s.Records.size());
  };
  QList<QList<int>> answers = {{}, {7, 2}};  // the record list: none checked, then two
  int asked = 0;
  offer.ChoosePayees = [&](QList<int>& chosen) {
    chosen = answers.value(asked++);
    return true;
  };
  QStringList texts;
  bool fellBack = false, groupOffWithAlignment = false;
  WhenModal([&](QWidget* w) {
    for (const char* name : {"RBAllPayees", "RBCorrected", "RBChosen"})
      texts << w->findChild<QRadioButton*>(name)->text();
    w->findChild<QRadioButton*>("RBChosen")->click();  // none checked
    fellBack = w->findChild<QRadioButton*>("RBAllPayees")->isChecked();
    w->findChild<QRadioButton*>("RBChosen")->click();  // two checked
    texts << w->findChild<QRadioButton*>("RBChosen")->text();
    w->findChild<QRadioButton*>("RBAlignment")->click();
    groupOffWithAlignment = !w->findChild<QGroupBox*>("GrpPayees")->isEnabled() &&
                            !w->findChild<QCheckBox*>("ChkMaskSSN")->isEnabled();
    w->findChild<QRadioButton*>("RBProgGen")->click();
    w->findChild<QPushButton*>("BtnOk")->click();
  });
  TPayeeSelection selection;
  EXPECT_EQ(ChoosePrintType("Form 1099-NEC", nullptr, offer, selection), ptProgramGenerated);
  EXPECT_EQ(texts, (QStringList{"&All payees (20 forms)", "Only forms marked CO&RRECTED (3 forms)",
                                "C&hosen payees (none chosen)", "C&hosen payees (2 forms)"}));
  EXPECT_TRUE(fellBack);
  EXPECT_TRUE(groupOffWithAlignment);
  EXPECT_EQ(selection.Scope, TPayeeScope::Chosen);
  EXPECT_EQ(selection.Records, (QList<int>{7, 2}));

  WhenModal([&](QWidget* w) {
    w->findChild<QRadioButton*>("RBAlignment")->click();
    w->findChild<QPushButton*>("BtnOk")->click();
  });
  EXPECT_EQ(ChoosePrintType("Form 1099-NEC", nullptr, offer, selection), ptAlignment);

  // Without the offer neither shows, and the answer is all payees.
  bool shown = true;
  WhenModal([&](QWidget* w) {
    shown = w->findChild<QGroupBox*>("GrpPayees")->isVisible() ||
            w->findChild<QRadioButton*>("RBAlignment")->isVisible();
    w->findChild<QPushButton*>("BtnOk")->click();
  });
  EXPECT_EQ(ChoosePrintType("Form 1099-NEC", nullptr, {}, selection), ptProgramGenerated);
  EXPECT_FALSE(shown);
  EXPECT_TRUE(selection.TakesAll());
}
