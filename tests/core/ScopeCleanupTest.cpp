#include "core/ScopeCleanup.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {
void RunWithCleanup(std::string& log, bool bodyFails, bool cleanupFails, bool dismiss) {
  TScopeCleanup cleanup([&] {
    log += "cleanup;";
    if (cleanupFails) throw std::runtime_error("cleanup");
  });
  if (bodyFails) throw std::runtime_error("body");
  if (dismiss) cleanup.Dismiss();
}
}  // namespace

TEST(ScopeCleanup, RunsOnEveryPathAndTheFirstErrorIsTheOneReported) {
  struct Case {
    bool bodyFails, cleanupFails, dismiss;
    const char* log;
    const char* error;  // nullptr: no error leaves the scope
  };
  const Case cases[] = {
      {false, false, false, "cleanup;", nullptr},  {true, false, false, "cleanup;", "body"},
      {false, true, false, "cleanup;", "cleanup"},  // a failing clean-up on the normal path
      {true, true, false, "cleanup;", "body"},      // while the body's error is on its way
      {false, false, true, "", nullptr},
  };
  for (const Case& c : cases) {
    std::string log, error;
    try {
      RunWithCleanup(log, c.bodyFails, c.cleanupFails, c.dismiss);
    } catch (const std::runtime_error& e) {
      error = e.what();
    }
    EXPECT_EQ(log, c.log);
    EXPECT_EQ(error, c.error ? c.error : "");
  }
}
