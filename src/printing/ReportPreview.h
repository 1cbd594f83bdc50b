#pragma once
// The program's preview window for report system jobs: one page at a time with paging, zoom
// and scrolling across page ends, and the commands to print the job, save it as a snapshot,
// reopen a saved snapshot and export it to PDF or HTML.
#include <QByteArray>
#include <QDialog>
#include <QPointer>
#include <array>

#include "engine/DisplayList.h"
#include "engine/PrinterTarget.h"
#include "engine/Snapshot.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class TPreviewPageView;
class TReportSystem;
struct TPreviewSettings;

class TFrmReportPreview : public QDialog {
  Q_OBJECT
 public:
  enum TCommand {
    cmOpen,
    cmSave,
    cmPrint,
    cmFirst,
    cmPrior,
    cmNext,
    cmLast,
    cmZoomIn,
    cmZoomOut,
    cmPdf,
    cmHtml,
    cmExit,
    cmCount
  };
  static constexpr int kStartZoom = 85;
  static constexpr int kMinZoom = 10;
  static constexpr int kMaxZoom = 200;

  explicit TFrmReportPreview(QWidget* parent = nullptr);
  ~TFrmReportPreview() override;

  // The report system whose job this is: it decides whether printing and saving are allowed
  // and which printers the Print command offers. Without one both are allowed.
  void SetReportSystem(TReportSystem* system);
  void ApplySettings(const TPreviewSettings& settings);
  // Loads a snapshot; on failure throws EReportException and keeps what was shown.
  void LoadSnapshotFile(const QString& fileName);
  void LoadSnapshotBytes(const QByteArray& bytes);

  // Runs a command as its button does (nothing when the button is disabled).
  void Execute(TCommand command);
  QAction* Action(TCommand command) const { return FActions[command]; }
  QMenu* PopupMenu() const { return FPopup; }
  // "Save one PDF per recipient...": in the Save button's menu beside "Save Report", shown
  // only for a report system that offers it.
  QAction* PerRecipientAction() const { return FPerRecipient; }
  TPreviewPageView* PageView() const { return FView; }

  int CurrentPage() const;  // 1-based; 0 without pages
  int PageCount() const { return FReader.IsOpen() ? FReader.PageCount() : 0; }
  int Zoom() const { return FZoom; }
  QString StatusText() const;
  // The whole job, every page decoded (for printing and exports).
  TReportJob Job();
  QByteArray SnapshotData() const { return FReader.Bytes(); }

  bool SavingAllowed() const;
  bool PrintingAllowed() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void Run(TCommand command);
  void CreateActions();
  void CreatePopup();
  void UpdateButtons();
  void UpdateStatus();
  void ShowSnapshot(TSnapshotReader& reader);
  void GoToPage(int index, bool atBottom = false);
  void SetZoom(int zoom);
  bool HandleScrollKey(QKeyEvent* event);
  bool HandleCommandKey(QKeyEvent* event);
  void ScrollLines(int steps);
  void PageDown();
  void PageUp();

  void OpenClick();
  void SaveClick();
  void PrintClick();
  void PdfClick();
  void HtmlClick();
  void PerRecipientClick();
  QString AskSaveName(const QString& title, const QString& filter, const QString& ext, bool ask);

  TSnapshotReader FReader;
  QPointer<TReportSystem> FSystem;
  int FZoom = kStartZoom;
  int FZoomInc = 10;
  TPreviewPageView* FView;
  QToolBar* FToolBar;
  QLabel* FStatus;
  QMenu* FPopup;
  std::array<QAction*, cmCount> FActions{};
  std::array<QAction*, cmCount> FMenuActions{};
  QAction* FPerRecipient = nullptr;
};

// The OverridePreview handler of every report system of the program (modes 0 create, 1 show,
// 2 wait, 3 free). window is the caller's slot for the preview window, owned by owner.
void ReportSystemOverridePreview(TReportSystem& system, int mode, QWidget* owner,
                                 QPointer<TFrmReportPreview>& window);
// Makes the report system show its jobs in this window, owned by owner.
void InstallPreviewWindow(TReportSystem& system, QWidget* owner);

// The company named as author, creator and producer of exported PDF files.
QString PublisherName();
