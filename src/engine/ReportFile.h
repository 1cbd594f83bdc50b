#pragma once
// How the engine writes its files and how large a sheet it draws: what the renderers and the
// snapshot writer share.
#include <QIODevice>
#include <QString>
#include <functional>

// The largest sheet side drawn into a file; a larger sheet would need gigabytes per page image.
inline constexpr double MaxSheetInches = 50.0;
// Throws EReportException for a sheet side that is not positive or larger than MaxSheetInches.
void CheckSheetSize(double width, double height);

// Every output file of the engine is written through this: into a temporary in the target's
// folder, renamed over the target only when write() returned and every write and the close
// succeeded. A failure leaves the previous file as it was and raises EReportException naming
// the file and the system's reason.
void WriteReportFile(const QString& fileName, const std::function<void(QIODevice&)>& write);
// Runs write, raising a failed write (EInOutError) as EReportException with the same message.
void ReportWrite(const std::function<void()>& write);
