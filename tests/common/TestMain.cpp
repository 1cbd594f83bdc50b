// Every test executable starts here: an offscreen application, a private settings store and
// documents folder, and every modal service scripted so no test can hang on a window.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "storage/Notices.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  qputenv("HOME", home.path().toLocal8Bit());
  qputenv("XDG_DOCUMENTS_DIR", (home.path() + "/Documents").toLocal8Bit());
  qputenv("LC_ALL", "C.UTF-8");
  TApplication app(argc, argv);
  MsgBoxScript::Enable(true);
  SetStorageNotice(MsgBox);
  DialogScript::Enable(true);
  ShellScript::Enable(true);
  HelpScript::Enable(true);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
