#pragma once
// The splash shown while the program starts, and the About box.
#include <QDialog>
#include <QWidget>

class TFrmWelcome : public QWidget {
  Q_OBJECT
 public:
  explicit TFrmWelcome(QWidget* parent = nullptr);
};

class TFrmAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmAboutBox(QWidget* parent = nullptr);
  // "16,318,396 KB" style figure shown beside "Physical Memory Available to Windows:".
  static QString MemoryText(qint64 kilobytes);
};

// The small modeless window shown while files are copied or a server is contacted.
class TFrmMsgWin : public QDialog {
  Q_OBJECT
 public:
  static void ShowMessage(const QString& caption, const QString& text);
  static void CloseMessage();
  static TFrmMsgWin* Current();

 private:
  explicit TFrmMsgWin(QWidget* parent = nullptr);
};
