#include "engine/ReportUi.h"

namespace {
std::unique_ptr<TReportWindows>& Installed() {
  static std::unique_ptr<TReportWindows> windows;
  return windows;
}
}  // namespace

void SetReportWindows(std::unique_ptr<TReportWindows> windows) {
  Installed() = std::move(windows);
}

TReportWindows* ReportWindows() {
  return Installed().get();
}
