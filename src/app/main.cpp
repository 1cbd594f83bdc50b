// Program start: check the screen, create the main window and the data module, run.
#include <QMessageBox>
#include <QScreen>
#include <QStyleFactory>
#include <cstdio>
#include <cstring>

#include "app/ProgramIcon.h"
#include "app/Screens.h"
#include "engine/ReportProject.h"
#include "maintenance/PasswordDialog.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "printing/ReportWindows.h"
#include "shell/FrmMain.h"
#include "storage/DataModule.h"
#include "storage/Notices.h"

namespace {
const char* const kUsage =
    "Usage: papyra [FILE.PE25]\n"
    "Prepares and prints the US information returns of tax year 2025: Forms 1098, 1099-DIV,\n"
    "1099-INT, 1099-MISC, 1099-NEC, 1099-R, 1099-S and the Form 1096.\n"
    "\n"
    "FILE.PE25 names a payer file to open at start; the arguments are joined with spaces, so\n"
    "a path with spaces needs no quotes.\n"
    "\n"
    "Options:\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and exit\n"
    "\n"
    "Settings: ~/.config/Papyra/Papyra.ini. Payer files: ~/Documents/Papyra/2025/Data/.\n"
    "See papyra(1) and papyra-batch(1).\n";

// Help and version need no screen: they are answered before the windowing system is reached.
int AnswerInfoOptions(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::puts("papyra " PAPYRA_VERSION);
      return 0;
    }
  }
  return -1;
}

bool ScreenTooSmall() {
  const QScreen* screen = QApplication::primaryScreen();
  if (!screen) return false;
  return !ScreenSizeAccepted(QSizeF(screen->size()), screen->devicePixelRatio());
}

// The program's cyan look; common dialogs keep the desktop's own.
void ApplyVisualStyle(QApplication& app) {
  app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QPalette p = app.palette();
  p.setColor(QPalette::Window, QColor(0xD8, 0xF0, 0xF0));
  p.setColor(QPalette::Button, QColor(0xC8, 0xE8, 0xE8));
  p.setColor(QPalette::Highlight, QColor(0x00, 0x80, 0x80));
  p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
  p.setColor(QPalette::ToolTipText, Qt::black);
  app.setPalette(p);
}
}  // namespace

int main(int argc, char** argv) {
  if (const int rc = AnswerInfoOptions(argc, argv); rc >= 0) return rc;
  TApplication app(argc, argv);
  SweepStaleFiles();  // a killed copy's snapshot (every recipient's forms) goes first
  TApplication::setApplicationVersion(QStringLiteral(PAPYRA_VERSION));
  TApplication::setWindowIcon(ProgramIcon());
  if (ScreenTooSmall()) {
    QMessageBox::information(nullptr, QString(),
                             QStringLiteral("Unable to run Papyra!\n\nThis program will not run "
                                            "under screen\nresolutions of less than 1,024 X 768."));
    return 0;
  }
  ApplyVisualStyle(app);
  RegisterProgramFonts();
  SetStorageNotice(MsgBox);
  InstallReportWindows();
  TFrmMain main;
  TFrmDataModule dataModule;
  InstallPasswordPrompt(dataModule);
  TReportProject reportProject;
  dataModule.ReportProject = &reportProject;
  InstallScreens(main);
  main.show();
  return app.exec();
}
