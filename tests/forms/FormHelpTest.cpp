// F1 on a form screen explains the screen (the guide's topic of the form); the Help button opens
// the IRS's instructions instead.
#include <QTest>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "forms/Frm1096.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

namespace {
class FormHelpTest : public TFormsTest {
 protected:
  template <class TScreen>
  void ExpectF1Opens(int context) {
    SCOPED_TRACE(context);
    TScreen screen;
    ShowActive(screen);
    HelpScript::Clear();
    ShellScript::Clear();
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &screen,
                    Qt::Key_F1);
    EXPECT_EQ(HelpScript::Shown(), QList<int>{context});
    EXPECT_TRUE(ShellScript::Opened().isEmpty());
    EXPECT_TRUE(QFile::exists(HelpTopicFile(context)));
    screen.close();
  }
};

TEST_F(FormHelpTest, F1OpensTheGuidesTopicOfEachForm) {
  OpenPayerFile(SamplePayer(),
                {SamplePayee(QStringLiteral("A"), QStringLiteral("123-45-6788"), 0)});
  ExpectF1Opens<TFrm1098>(13);
  ExpectF1Opens<TFrm1099DIV>(14);
  ExpectF1Opens<TFrm1099INT>(15);
  ExpectF1Opens<TFrm1099MISC>(16);
  ExpectF1Opens<TFrm1099NEC>(26);
  ExpectF1Opens<TFrm1099R>(17);
  ExpectF1Opens<TFrm1099S>(18);
  ExpectF1Opens<TFrm1096>(12);
}
}  // namespace
