#include "app/Screens.h"

#include "engine/Fonts.h"
#include "forms/Frm1096.h"
#include "forms/Frm1098.h"
#include "forms/Frm1099DIV.h"
#include "forms/Frm1099INT.h"
#include "forms/Frm1099MISC.h"
#include "forms/Frm1099NEC.h"
#include "forms/Frm1099R.h"
#include "forms/Frm1099S.h"
#include "maintenance/FrmPayee.h"
#include "maintenance/FrmPayer.h"
#include "printing/Labels.h"
#include "printing/PrinterOffsets.h"
#include "shell/Backup.h"
#include "shell/FrmImportPayees.h"
#include "shell/FrmMain.h"
#include "shell/FrmPassword.h"
#include "shell/FrmTransfer.h"
#include "shell/WebUpdate.h"

void RegisterProgramFonts() {
  RegisterFontSubstitutions();
}

void InstallScreens(TFrmMain& main) {
  main.SetScreen("Payer", [] { ShowPayerScreen(); });
  main.SetScreen("Payee", [] { ShowPayeeScreen(); });
  main.SetScreen("ImportPayees", [&main] { ImportPayeesCommand(main); });
  main.SetScreen("ExportPayees", [&main] { ExportPayeesCommand(main); });
  main.SetScreen("Password", [] { ShowPasswordScreen(); });
  main.SetScreen("PrintSetup", [&main] { ShowPrinterOffsets(&main); });
  main.SetScreen("PrintLabels", [&main] { PrintPayeeLabels(&main); });
  main.SetScreen("Backup", [&main] { BackupPayerFile(main); });
  main.SetScreen("Restore", [&main] { RestorePayerFile(main); });
  main.SetScreen("Transfer", [] { ShowTransferScreen(); });
  main.SetScreen("WebUpdate", [] { CheckWebUpdate(); });
  main.SetScreen("1096", [] { ShowForm1096(); });
  main.SetScreen("1098", [] { ShowForm1098(); });
  main.SetScreen("1099DIV", [] { ShowForm1099DIV(); });
  main.SetScreen("1099INT", [] { ShowForm1099INT(); });
  main.SetScreen("1099MISC", [] { ShowForm1099MISC(); });
  main.SetScreen("1099NEC", [] { ShowForm1099NEC(); });
  main.SetScreen("1099R", [] { ShowForm1099R(); });
  main.SetScreen("1099S", [] { ShowForm1099S(); });
}
