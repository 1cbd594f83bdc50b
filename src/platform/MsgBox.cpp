#include "platform/MsgBox.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "platform/Dialogs.h"

namespace {
struct ScriptState {
  bool enabled = false;
  QList<int> answers;
  QList<MsgBoxScript::Shown> log;
};
ScriptState& State() {
  static ScriptState s;
  return s;
}

// "~" marks a line break in the program's texts; a carriage return (as copy errors carry
// it) is one too.
QString Tildes(QString text) {
  text.replace(QLatin1Char('~'), QLatin1Char('\n'));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QMessageBox::Icon IconFor(int flags) {
  switch (flags & 0xF0) {
    case 16:
      return QMessageBox::Critical;
    case 32:
      return QMessageBox::Question;
    case 48:
      return QMessageBox::Warning;
    case 64:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// A two-button box: the second button answers Escape, the first is the default unless
// secondDefault. True when the first was clicked.
bool ExecTwoButtons(QMessageBox& box, QMessageBox::StandardButton first,
                    QMessageBox::StandardButton second, bool secondDefault) {
  QPushButton* firstButton = box.addButton(first);
  QPushButton* secondButton = box.addButton(second);
  box.setDefaultButton(secondDefault ? secondButton : firstButton);
  box.setEscapeButton(secondButton);
  box.exec();
  return box.clickedButton() == firstButton;
}

int ExecBox(QMessageBox& box, int flags) {
  const int buttons = flags & 0x0F;
  const bool secondDefault = (flags & 0x100) != 0;
  if (buttons == 1)
    return ExecTwoButtons(box, QMessageBox::Ok, QMessageBox::Cancel, secondDefault) ? mrOk
                                                                                    : mrCancel;
  if (buttons == 4)
    return ExecTwoButtons(box, QMessageBox::Yes, QMessageBox::No, secondDefault) ? mrYes : mrNo;
  box.addButton(QMessageBox::Ok);
  box.exec();
  return mrOk;
}

int RunRealBox(const QString& text, const QString& caption, int flags) {
  QMessageBox box(IconFor(flags), caption, text, QMessageBox::NoButton,
                  QApplication::activeWindow());
  return ExecBox(box, flags);
}

// What the second button answers: the box's way out without going on.
int DeclineAnswer(int flags) {
  const int buttons = flags & 0x0F;
  if (buttons == 1) return mrCancel;
  if (buttons == 4) return mrNo;
  return mrOk;
}

int RunRealBoxWithLink(const QString& text, const QString& caption, int flags,
                       const QString& linkText, bool& followed) {
  const QString html =
      text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
      QStringLiteral("<p><a href=\"help\">%1</a></p>").arg(linkText.toHtmlEscaped());
  QMessageBox box(IconFor(flags), caption, html, QMessageBox::NoButton,
                  QApplication::activeWindow());
  box.setTextFormat(Qt::RichText);
  if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
    label->setOpenExternalLinks(false);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    QObject::connect(label, &QLabel::linkActivated, &box, [&box, &followed] {
      followed = true;
      box.done(0);
    });
  }
  const int result = ExecBox(box, flags);
  return followed ? DeclineAnswer(flags) : result;
}
}  // namespace

int MsgBox(const QString& text, const QString& caption, int flags) {
  const QString shown = Tildes(text);
  ScriptState& s = State();
  if (s.enabled) {
    int result = s.answers.isEmpty() ? DefaultMsgAnswer(flags) : s.answers.takeFirst();
    s.log.append({shown, caption, flags, result});
    return result;
  }
  return RunRealBox(shown, caption, flags);
}

int MsgBoxWithHelp(const QString& text, const QString& caption, int flags, int helpContext,
                   const QString& linkText) {
  if (State().enabled) return MsgBox(text + QLatin1Char('~') + linkText, caption, flags);
  bool followed = false;
  const int result = RunRealBoxWithLink(Tildes(text), caption, flags, linkText, followed);
  if (followed) ShowHelp(helpContext);
  return result;
}

namespace MsgBoxScript {
void Enable(bool on) {
  State().enabled = on;
}
bool Enabled() {
  return State().enabled;
}
void SetNextAnswer(int code) {
  State().answers.append(code);
}
QList<int> Pending() {
  return State().answers;
}
void Clear() {
  State().answers.clear();
  State().log.clear();
}
const QList<Shown>& Log() {
  return State().log;
}
QString LastText() {
  return State().log.isEmpty() ? QString() : State().log.last().text;
}
}  // namespace MsgBoxScript
