#pragma once
// A clean-up that runs when its scope ends, on every path, for clean-ups that may fail
// themselves (closing a record file writes it back, reading a record back can fail). On the
// normal path a failing clean-up reports its error as any statement would. While another error
// is already on its way the clean-up's own error is dropped: a second exception would end the
// program, and the first one is the one that says what went wrong. Clean-ups that cannot fail
// use qScopeGuard or QScopedValueRollback.
#include <exception>
#include <utility>

template <typename F>
class TScopeCleanup {
 public:
  explicit TScopeCleanup(F cleanup) : FCleanup(std::move(cleanup)) {}
  TScopeCleanup(const TScopeCleanup&) = delete;
  TScopeCleanup& operator=(const TScopeCleanup&) = delete;
  ~TScopeCleanup() noexcept(false) {
    if (!FArmed) return;
    if (std::uncaught_exceptions() == FUncaught) {
      FCleanup();
      return;
    }
    try {
      FCleanup();
    } catch (...) {
    }
  }
  // The clean-up is not needed after all (it undoes a step that has now succeeded).
  void Dismiss() { FArmed = false; }

 private:
  F FCleanup;
  int FUncaught = std::uncaught_exceptions();
  bool FArmed = true;
};
