#include "FailingCalls.h"

#include <unistd.h>

#include <QFile>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>

extern "C" {
int __real_close(int fd);
int __real_rename(const char* from, const char* to);
int __real_fdatasync(int fd);
int __wrap_close(int fd);
int __wrap_rename(const char* from, const char* to);
int __wrap_fdatasync(int fd);
}

namespace {
std::mutex gMutex;
std::atomic<bool> gArmed{false};
TFailingCall gCall = TFailingCall::Close;
std::string gFolder;
std::string gSkip;
int gErr = 0;
bool gUsed = false;

std::string FdPath(int fd) {
  char buffer[4096];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, size_t(n)) : std::string();
}

// True (and disarmed) when this call is the one to fail.
bool Take(TFailingCall call, const std::string& path) {
  if (!gArmed.load()) return false;
  const std::lock_guard lock(gMutex);
  if (!gArmed.load() || gCall != call || path.compare(0, gFolder.size(), gFolder) != 0 ||
      path == gSkip)
    return false;
  gArmed = false;
  gUsed = true;
  return true;
}
}  // namespace

void FailNextCall(TFailingCall call, const QString& prefix, int err, const QString& skip) {
  const std::lock_guard lock(gMutex);
  gCall = call;
  gFolder = QFile::encodeName(prefix).toStdString();
  gSkip = QFile::encodeName(skip).toStdString();
  gErr = err;
  gUsed = false;
  gArmed = true;
}

void DisarmFailingCalls() {
  gArmed = false;
}

bool FailingCallUsed() {
  const std::lock_guard lock(gMutex);
  return gUsed;
}

int __wrap_close(int fd) {
  if (gArmed.load() && Take(TFailingCall::Close, FdPath(fd))) {
    __real_close(fd);
    errno = gErr;
    return -1;
  }
  return __real_close(fd);
}

int __wrap_rename(const char* from, const char* to) {
  if (gArmed.load() && Take(TFailingCall::Rename, from)) {
    errno = gErr;
    return -1;
  }
  return __real_rename(from, to);
}

int __wrap_fdatasync(int fd) {
  if (gArmed.load() && Take(TFailingCall::Sync, FdPath(fd))) {
    errno = gErr;
    return -1;
  }
  return __real_fdatasync(fd);
}
