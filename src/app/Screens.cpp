#include "app/Screens.h"

#include "engine/Fonts.h"
#include "shell/FrmMain.h"

void RegisterProgramFonts() {
  RegisterFontSubstitutions();
}

void InstallScreens(TFrmMain& main) {
  (void)main;
}
