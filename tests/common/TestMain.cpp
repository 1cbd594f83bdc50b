// Every test executable starts here: an offscreen application, a private settings store and
// documents folder, and every modal service scripted so no test can hang on a window; what a test
// arms for later ends with it.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>

#include "TestHooks.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"
#include "storage/Notices.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  qputenv("HOME", home.path().toLocal8Bit());
  qputenv("XDG_DOCUMENTS_DIR", (home.path() + "/Documents").toLocal8Bit());
  qputenv("LC_ALL", "C.UTF-8");
  TApplication app(argc, argv);
  ScriptModalServices();
  SetStorageNotice(MsgBox);
  ::testing::InitGoogleTest(&argc, argv);
  InstallTestHooks();
  return RUN_ALL_TESTS();
}
