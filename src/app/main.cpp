// Program start: check the screen, create the main window and the data module, run.
#include <QMessageBox>
#include <QScreen>
#include <QStyleFactory>

#include "app/Screens.h"
#include "engine/ReportProject.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"
#include "shell/FrmMain.h"
#include "storage/DataModule.h"

namespace {
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
  TApplication app(argc, argv);
  if (ScreenTooSmall()) {
    QMessageBox::information(nullptr, QString(),
                             QStringLiteral("Unable to run Papyra!\n\nThis program will not run "
                                            "under screen\nresolutions of less than 1,024 X 768."));
    return 0;
  }
  ApplyVisualStyle(app);
  RegisterProgramFonts();
  TFrmMain main;
  TFrmDataModule dataModule;
  TReportProject reportProject;
  dataModule.ReportProject = &reportProject;
  InstallScreens(main);
  main.show();
  return app.exec();
}
