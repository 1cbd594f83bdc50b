#include "platform/MessageCodes.h"

QString AppTitle() {
  return QStringLiteral("Papyra 2025");
}

int DefaultMsgAnswer(int flags) {
  const int buttons = flags & 0x0F;
  const bool secondDefault = (flags & 0x100) != 0;
  if (buttons == 1) return secondDefault ? mrCancel : mrOk;
  if (buttons == 4) return secondDefault ? mrNo : mrYes;
  return mrOk;
}
