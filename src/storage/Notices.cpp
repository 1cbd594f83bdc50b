#include "storage/Notices.h"

#include <QRegularExpression>
#include <QtGlobal>

#include "platform/MessageCodes.h"

namespace {
TStorageNotice& Installed() {
  static TStorageNotice notice;
  return notice;
}
}  // namespace

TStorageNotice SetStorageNotice(TStorageNotice notice) {
  return std::exchange(Installed(), std::move(notice));
}

int StorageNotice(const QString& text, const QString& caption, int flags) {
  if (Installed()) return Installed()(text, caption, flags);
  qWarning("%s: %s", qUtf8Printable(caption), qUtf8Printable(NoticeLine(text)));
  return DefaultMsgAnswer(flags);
}

QString NoticeLine(const QString& text) {
  static const QRegularExpression breaks(QStringLiteral("~+"));
  return QString(text).replace(breaks, QStringLiteral(" "));
}
