#pragma once
// Message boxes with the classic flag and result codes the program's callers test for.
//   flags: 0 OK; 16 OK + stop icon; 48 OK + warning; 64 OK + information;
//          33 OK/Cancel + question; 289 the same with Cancel as default;
//          308 Yes/No + warning with No as default.
//   results: 1 OK, 2 Cancel, 6 Yes, 7 No.
// Tests switch on scripting: nothing is shown, each box is logged and answered from a queue
// (or with its default button when the queue is empty).
#include <QList>
#include <QString>

#include "platform/MessageCodes.h"

int MsgBox(const QString& text, const QString& caption, int flags);
// The same with a link under the text to the help topic helpContext. Following the link closes
// the box as its second button would (Cancel or No) and opens the topic, so the user reads
// before going on. Scripted, the link text is logged as the text's last line.
int MsgBoxWithHelp(const QString& text, const QString& caption, int flags, int helpContext,
                   const QString& linkText);

namespace MsgBoxScript {
struct Shown {
  QString text;  // after "~" became line breaks
  QString caption;
  int flags = 0;
  int result = 0;
};
void Enable(bool on);
bool Enabled();
void SetNextAnswer(int code);
QList<int> Pending();  // the queued answers no box has taken yet
void Clear();          // forgets the log and the queued answers
const QList<Shown>& Log();
QString LastText();
}  // namespace MsgBoxScript
