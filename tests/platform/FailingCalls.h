#pragma once
// Failures the file system rarely gives on demand: the test executable is linked with the
// system calls close, rename and fdatasync wrapped, and the next such call on a file in a
// given folder can be made to fail with a chosen error, as a network file system or a dying
// disk would.
#include <QString>

enum class TFailingCall { Close, Rename, Sync };

// The next call of the kind on a file whose path starts with prefix (and is not skip) fails
// with err (once). Disarm cancels it.
void FailNextCall(TFailingCall call, const QString& prefix, int err, const QString& skip = {});
void DisarmFailingCalls();
// Whether the armed failure was used.
bool FailingCallUsed();
