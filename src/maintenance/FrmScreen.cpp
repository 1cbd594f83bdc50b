#include "maintenance/FrmScreen.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "platform/Application.h"
#include "platform/Dialogs.h"

Qt::WindowFlags FixedDialogFlags() {
  return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
         Qt::MSWindowsFixedSizeDialogHint;
}

QFont ScreenFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(8);
  return font;
}

void CentreOnScreen(QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

namespace {
QPixmap DrawHelpPicture(int size, qreal ratio) {
  QPixmap pixmap(QSize(size, size) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF disc(1, 1, size - 2, size - 2);
  p.setPen(QPen(QColor(0x10, 0x40, 0x90), 1));
  p.setBrush(QColor(0x30, 0x70, 0xC8));
  p.drawEllipse(disc);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(size * 2 / 3);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(disc, Qt::AlignCenter, QStringLiteral("?"));
  return pixmap;
}
}  // namespace

QIcon HelpButtonIcon() {
  QIcon icon;
  for (qreal ratio : {1.0, 1.5, 2.0}) icon.addPixmap(DrawHelpPicture(18, ratio));
  return icon;
}

QPushButton* NewHelpButton(QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QStringLiteral("BtnHelp"));
  button->setIcon(HelpButtonIcon());
  button->setIconSize(QSize(18, 18));
  button->setFlat(true);
  button->setAutoDefault(false);
  button->setToolTip(QStringLiteral("Help with this form"));
  return button;
}

QPushButton* NewFlatButton(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setFlat(true);
  button->setAutoDefault(false);
  return button;
}

TFrmScreen::TFrmScreen(QWidget* parent, int helpContext)
    : QDialog(parent, FixedDialogFlags()), FHelpContext(helpContext) {
  setFont(ScreenFont());
  setModal(true);
}

void TFrmScreen::BtnHelpClick() {
  ShowHelp(FHelpContext);
}

void TFrmScreen::done(int result) {
  if (!TApplication::Guard([this] { FormCloseQuery(); })) return;
  QDialog::done(result);
}

void TFrmScreen::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    BtnHelpClick();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFrmScreen::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (FCentred) return;
  FCentred = true;
  CentreOnScreen(this);
}
