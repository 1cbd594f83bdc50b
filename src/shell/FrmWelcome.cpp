#include "shell/FrmWelcome.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/Services.h"
#include "shell/Icons.h"

namespace {
const char* kProduct = "Papyra 2025 (64-bit)";
const char* kVersionLine = "Version 2025.00";

QLabel* ProductLabel(QWidget* parent, int size) {
  auto* l = new QLabel(QString::fromLatin1(kProduct), parent);
  l->setObjectName(QStringLiteral("LblProduct"));
  QFont f = l->font();
  f.setPointSize(size);
  f.setBold(true);
  l->setFont(f);
  return l;
}

void Centre(QWidget* w) {
  if (QScreen* s = QApplication::primaryScreen())
    w->move(s->availableGeometry().center() - w->rect().center());
}
}  // namespace

TFrmWelcome::TFrmWelcome(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("FrmWelcome"));
  setStyleSheet(QStringLiteral("#FrmWelcome{background:#E8F6F6;border:2px solid #008080;}"));
  setAttribute(Qt::WA_StyledBackground);
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(24, 24, 32, 24);
  auto* icon = new QLabel(this);
  icon->setPixmap(ButtonIcon(QStringLiteral("form:1099")).pixmap(64, 64));
  layout->addWidget(icon, 0, 0, 2, 1);
  layout->addWidget(ProductLabel(this, 16), 0, 1);
  auto* version = new QLabel(QString::fromLatin1(kVersionLine), this);
  version->setObjectName(QStringLiteral("LblVersion"));
  layout->addWidget(version, 1, 1);
  adjustSize();
  Centre(this);
}

QString TFrmAboutBox::MemoryText(qint64 kilobytes) {
  return QLocale(QLocale::English, QLocale::UnitedStates).toString(kilobytes) +
         QStringLiteral(" KB");
}

TFrmAboutBox::TFrmAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmAboutBox"));
  setWindowTitle(QStringLiteral("About Papyra"));
  auto* layout = new QGridLayout(this);
  auto* icon = new QLabel(this);
  icon->setPixmap(ButtonIcon(QStringLiteral("form:1099")).pixmap(48, 48));
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(ProductLabel(this, 12), 0, 1, 1, 2);
  layout->addWidget(new QLabel(QString::fromLatin1(kVersionLine), this), 1, 1, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Physical Memory Available to Windows:"), this), 2,
                    1);
  auto* memory = new QLabel(MemoryText(PhysicalMemoryKB()), this);
  memory->setObjectName(QStringLiteral("PhysMem"));
  layout->addWidget(memory, 2, 2, Qt::AlignRight);
  layout->addWidget(new QLabel(QStringLiteral("Memory in Use:"), this), 3, 1);
  auto* load = new QLabel(QStringLiteral("%1 %").arg(MemoryLoadPercent()), this);
  load->setObjectName(QStringLiteral("FreeRes"));
  layout->addWidget(load, 3, 2, Qt::AlignRight);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 4, 0, 1, 3, Qt::AlignCenter);
}

namespace {
QPointer<TFrmMsgWin> gMsgWin;
}

TFrmMsgWin::TFrmMsgWin(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("FrmMsgWin"));
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setFixedSize(312, 83);
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(this);
  label->setObjectName(QStringLiteral("LblMsg"));
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  QFont f = label->font();
  f.setBold(true);
  label->setFont(f);
  layout->addWidget(label);
}

void TFrmMsgWin::ShowMessage(const QString& caption, const QString& text) {
  CloseMessage();
  gMsgWin = new TFrmMsgWin(QApplication::activeWindow());
  gMsgWin->setWindowTitle(caption);
  gMsgWin->findChild<QLabel*>(QStringLiteral("LblMsg"))->setText(text);
  gMsgWin->show();
  Centre(gMsgWin);
  gMsgWin->repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFrmMsgWin::CloseMessage() {
  if (gMsgWin) gMsgWin->close();
  gMsgWin = nullptr;
}

TFrmMsgWin* TFrmMsgWin::Current() {
  return gMsgWin;
}
