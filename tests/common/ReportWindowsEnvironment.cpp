// Test executables whose report runs show the program's own windows (set-up, status, preview,
// errors) build this file in: the windows are installed before the first test, as the program
// installs them at start-up.
#include <gtest/gtest.h>

#include "printing/ReportWindows.h"

namespace {
class TReportWindowsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { InstallReportWindows(); }
  void TearDown() override { SetReportWindows(nullptr); }
};

[[maybe_unused]] ::testing::Environment* const kReportWindows =
    ::testing::AddGlobalTestEnvironment(new TReportWindowsEnvironment);
}  // namespace
