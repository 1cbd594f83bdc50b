#include "engine/ReportFile.h"

#include "platform/Exceptions.h"
#include "platform/SafeFile.h"

void CheckSheetSize(double width, double height) {
  if (!(width > 0 && height > 0 && width <= MaxSheetInches && height <= MaxSheetInches))
    throw EReportException(
        QStringLiteral("The sheet of %1 x %2 in is larger than this program prints (at most %3 in "
                       "on a side).")
            .arg(width)
            .arg(height)
            .arg(MaxSheetInches));
}

void ReportWrite(const std::function<void()>& write) {
  try {
    write();
  } catch (const EInOutError& e) {
    throw EReportException(e.Message());
  }
}

void WriteReportFile(const QString& fileName, const std::function<void(QIODevice&)>& write) {
  ReportWrite([&] {
    TSafeFile file(fileName);
    write(file.Device());
    file.Commit();
  });
}
