#pragma once
// How the record files and the data module tell the user of a failure and ask their few
// questions, without windows of their own: the program installs the way. On screen that is a
// message box; papyra-batch prints a line and ends. Texts, captions, flags and answers are the
// message codes of platform/MessageCodes.h, "~" marking a line break.
#include <QString>
#include <functional>

using TStorageNotice = std::function<int(const QString& text, const QString& caption, int flags)>;

// Installs the way notices reach the user and returns the one it replaces. An empty one
// restores the fallback: the text goes to the log and a question gets its default answer.
TStorageNotice SetStorageNotice(TStorageNotice notice);

// Tells the user, or asks; the answer is a message-box result.
int StorageNotice(const QString& text, const QString& caption, int flags);

// A notice's text as one line, for a log or a terminal: each run of "~" becomes one space.
QString NoticeLine(const QString& text);
