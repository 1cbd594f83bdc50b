#pragma once
// Button pictures, drawn rather than shipped so they stay sharp at any scale.
#include <QIcon>
#include <QString>

// kind: "open", "new", "payer", "payee", "backup", "restore", "saveas", "help", or "form:<label>"
QIcon ButtonIcon(const QString& kind);
