#include "app/Screens.h"

#include "engine/Fonts.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "forms/FormScreen.h"
#include "forms/Frm1096.h"
#include "maintenance/FrmPayee.h"
#include "maintenance/FrmPayer.h"
#include "printing/Labels.h"
#include "printing/PrinterOffsets.h"
#include "shell/Backup.h"
#include "shell/FrmCheck.h"
#include "shell/FrmImportPayees.h"
#include "shell/FrmMain.h"
#include "shell/FrmPassword.h"
#include "shell/FrmTransfer.h"
#include "shell/WebUpdate.h"

void RegisterProgramFonts() {
  RegisterFontSubstitutions();
}

void InstallScreens(TFrmMain& main) {
  InstallOffsetForms();
  main.SetScreen("Payer", [] { ShowPayerScreen(); });
  main.SetScreen("Payee", [] { ShowPayeeScreen(); });
  main.SetScreen("ImportPayees", [&main] { ImportPayeesCommand(main); });
  main.SetScreen("ExportPayees", [&main] { ExportPayeesCommand(main); });
  main.SetScreen("Password", [] { ShowPasswordScreen(); });
  main.SetScreen("CheckBeforeFiling", [&main] { ShowCheckScreen(&main); });
  main.SetScreen("TinMatchRequest", [&main] { TinMatchRequestCommand(&main); });
  main.SetScreen("TinMatchResults", [&main] { TinMatchResultsCommand(&main); });
  main.SetScreen("PrintSetup", [&main] { ShowPrinterOffsets(&main); });
  main.SetScreen("PrintLabels", [&main] { PrintPayeeLabels(&main); });
  main.SetScreen("Backup", [&main] { BackupPayerFile(main); });
  main.SetScreen("Restore", [&main] { RestorePayerFile(main); });
  main.SetScreen("Transfer", [] { ShowTransferScreen(); });
  main.SetScreen("WebUpdate", [] { CheckWebUpdate(); });
  main.SetScreen("1096", [] { ShowForm1096(); });
  for (const TFormDef* def : FormDefs())
    main.SetScreen(QString::fromLatin1(def->Tag), [def] { ShowFormScreen(*def); });
}
