#pragma once
// A main window with its data module over a private documents folder, started as the program
// starts it but without the splash pause.
#include <gtest/gtest.h>

#include <QAction>
#include <QToolButton>
#include <memory>

#include "TestSupport.h"
#include "shell/FrmMain.h"
#include "storage/DataModule.h"

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A payer file pair in the temporary folder with the given payer name and payee count.
  QString MakePayerFile(const QString& name, const QString& payerName, int payees = 1);
  void Start(const QStringList& args = {});
  void Restart(const QStringList& args = {});
  bool Enabled(const char* action) const { return Main->Action(action)->isEnabled(); }

  TTempFolder Dir;
  std::unique_ptr<TFrmDataModule> DataModule;
  std::unique_ptr<TFrmMain> Main;
};
