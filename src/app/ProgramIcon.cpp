#include "app/ProgramIcon.h"

QIcon ProgramIcon() {
  // The desktop's own rendering of the installed icon when there is one, so a theme that
  // overrides it is followed; else the drawing built in.
  return QIcon::fromTheme(QStringLiteral("papyra"), QIcon(QStringLiteral(":/icons/papyra.svg")));
}
