#pragma once
// Wires the screens of every subsystem into the main window's commands, and the fonts the
// pages are drawn with.
class TFrmMain;

void InstallScreens(TFrmMain& main);
void RegisterProgramFonts();
