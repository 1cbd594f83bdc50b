// Alt with a letter is a command key on every window: where no command takes it (a disabled
// button, a letter nothing uses), no edit of the window may take it as typing either.
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <memory>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "forms/Frm1096.h"
#include "maintenance/FrmPayee.h"
#include "maintenance/FrmPayer.h"
#include "printing/PrinterOffsets.h"

namespace {
struct TAltScreen {
  const char* name;
  std::function<std::unique_ptr<QWidget>()> make;
};

template <typename T>
std::unique_ptr<QWidget> Make() {
  return std::make_unique<T>();
}

QString TextOf(QWidget* w) {
  if (auto* line = qobject_cast<QLineEdit*>(w)) return line->text();
  return qobject_cast<QPlainTextEdit*>(w)->toPlainText();
}

// Every edit the user can type into.
QList<QWidget*> Editable(QWidget& window) {
  QList<QWidget*> edits;
  for (auto* line : window.findChildren<QLineEdit*>())
    if (line->isVisible() && line->isEnabled() && !line->isReadOnly()) edits << line;
  for (auto* text : window.findChildren<QPlainTextEdit*>())
    if (text->isVisible() && text->isEnabled() && !text->isReadOnly()) edits << text;
  return edits;
}
}  // namespace

class AltKeysTest : public TFormsTest {};

TEST_F(AltKeysTest, NoAltLetterReachesTheTextOfAnyEdit) {
  // One payee: record 1 is also the last, so First, Prior, Next and Last are all disabled.
  OpenPayerFile(SamplePayer(), {SamplePayee("Baker & Sons, Attorneys at Law", "98-7654321", 10)});
  const TAltScreen screens[] = {
      {"payer", Make<TFrmPayer>},      {"payee", Make<TFrmPayee>},
      {"1099-NEC", Make<TFrm1099NEC>}, {"1098", Make<TFrm1098>},
      {"1096", Make<TFrm1096>},        {"printer offsets", Make<TFrmPrinterSetup>},
  };
  for (const TAltScreen& s : screens) {
    SCOPED_TRACE(s.name);
    std::unique_ptr<QWidget> window = s.make();
    ShowActive(*window);
    const QList<QWidget*> edits = Editable(*window);
    EXPECT_FALSE(edits.isEmpty());
    for (QWidget* edit : edits) {
      edit->setFocus();
      const QString before = TextOf(edit);
      for (Qt::Key key : {Qt::Key_N, Qt::Key_P, Qt::Key_Q, Qt::Key_Z}) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier | Qt::ShiftModifier);
      }
      EXPECT_EQ(TextOf(edit), before) << edit->objectName().toStdString();
    }
    window->close();
  }
  ClosePayerFile();
  EXPECT_EQ(PayeesOnDisk().value(0).GetString("PayeeName"), "Baker & Sons, Attorneys at Law");
}

// Characters typed with AltGr (Ctrl+Alt on some keyboards) are text, not commands.
TEST_F(AltKeysTest, AltGrCharactersStillType) {
  QLineEdit edit;
  ShowActive(edit);
  QTest::keyClick(&edit, Qt::Key_At, Qt::ControlModifier | Qt::AltModifier);
  QTest::keyClick(&edit, Qt::Key_A, Qt::NoModifier);
  EXPECT_EQ(edit.text(), "@a");
}
