#pragma once
// The flag and result codes of the program's messages, with the caption they carry: what the
// layers without windows need to tell or ask something through whoever shows it
// (platform/MsgBox.h on screen).
#include <QString>

enum TMsgResult { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };
enum TMsgFlags {
  mbOk = 0,
  mbError = 16,
  mbWarning = 48,
  mbInfo = 64,
  mbOkCancel = 33,
  mbOkCancelDefCancel = 289,
  mbYesNoWarnDefNo = 308
};

// The application title shown as the caption of every message box.
QString AppTitle();

// The answer of a message's default button: what a message nobody can answer gets.
int DefaultMsgAnswer(int flags);
