#pragma once
// Where printed jobs go. The program asks the printer target for the installed printers, their
// papers, sources and abilities, and for a QPrinter to paint a job on. The system target uses
// the platform's printers; tests and scripts install a PDF target that "prints" into a file
// through QPrinter's PDF output, with a simulated unprintable border.
#include <QMarginsF>
#include <QString>
#include <QStringList>
#include <memory>

class QPrinter;

enum class TOrientation : int { Portrait = 0, Landscape = 1, Default = 2 };
enum class TDuplex : int { Simplex = 0, Vertical = 1, Horizontal = 2 };

// What a job asks of the printer. Empty names mean the printer's (or the system's) default.
struct TPrinterSettings {
  QString PrinterName;
  QString PaperName;
  QString BinName;
  TOrientation Orientation = TOrientation::Portrait;
  bool Collate = false;
  TDuplex Duplex = TDuplex::Simplex;
  int Copies = 1;
  int FromPage = 0;  // 0: from the first page
  int ToPage = 0;    // 0: to the last page
};

class TPrinterTarget {
 public:
  virtual ~TPrinterTarget() = default;
  virtual QStringList PrinterNames() const;
  virtual QString DefaultPrinterName() const;
  virtual QStringList Papers(const QString& printer) const;
  virtual QStringList Bins(const QString& printer) const;
  virtual bool SupportsCollate(const QString& printer) const;
  virtual bool SupportsDuplex(const QString& printer) const;
  // A printer set up for the job (printer, paper, source, orientation, collation, duplex,
  // copies), ready for QPainter::begin. Never null.
  virtual std::unique_ptr<QPrinter> CreatePrinter(const TPrinterSettings& settings,
                                                  const QString& jobTitle) const;
  // The paper size in inches for a paper name of the printer (portrait); false when unknown.
  static bool PaperSizeInches(const QString& paperName, double& width, double& height);
};

// A printer that writes each job into a PDF file through QPrinter (QPrinter::PdfFormat).
// Margins simulate the unprintable border of a real printer; the printer's page rectangle is the
// paper less these margins, exactly as a real printer reports it.
class TPdfPrinterTarget : public TPrinterTarget {
 public:
  explicit TPdfPrinterTarget(QString outputFile, QMarginsF unprintableInches = {},
                             QString printerName = QStringLiteral("PDF Test Printer"));
  QStringList PrinterNames() const override;
  QString DefaultPrinterName() const override;
  QStringList Papers(const QString& printer) const override;
  QStringList Bins(const QString& printer) const override;
  bool SupportsCollate(const QString& printer) const override;
  bool SupportsDuplex(const QString& printer) const override;
  std::unique_ptr<QPrinter> CreatePrinter(const TPrinterSettings& settings,
                                          const QString& jobTitle) const override;

  void SetOutputFile(const QString& file) { FOutputFile = file; }
  QString OutputFile() const { return FOutputFile; }
  void SetAbilities(bool collate, bool duplex) {
    FCollate = collate;
    FDuplex = duplex;
  }
  // The settings of the last printer handed out, so tests can see what a job asked for.
  const TPrinterSettings& LastSettings() const { return FLast; }
  int PrintersCreated() const { return FCreated; }

 private:
  QString FOutputFile;
  QMarginsF FMargins;
  QString FName;
  bool FCollate = true;
  bool FDuplex = true;
  mutable TPrinterSettings FLast;
  mutable int FCreated = 0;
};

// A target with no printers at all (a machine without printers, for tests).
class TNoPrinterTarget : public TPrinterTarget {
 public:
  QStringList PrinterNames() const override { return {}; }
  QString DefaultPrinterName() const override { return {}; }
};

// The target every component uses unless it was given its own. Starts as the system target.
TPrinterTarget& PrinterTarget();
void SetPrinterTarget(std::shared_ptr<TPrinterTarget> target);  // null restores the system's
