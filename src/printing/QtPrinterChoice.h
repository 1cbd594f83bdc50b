#pragma once
// The printer choice over a QPrinter and the system's installed printers (QPrinterInfo).
// Paper sources: Qt reports a printer's own input trays only on Windows; elsewhere the list is
// the set of paper sources a QPrinter can request, and the selection goes to
// QPrinter::setPaperSource, which the print system honours where it can.
#include <QPrinter>

#include "printing/PrinterChoice.h"

class TQtPrinterChoice : public TPrinterChoice {
 public:
  explicit TQtPrinterChoice(QPrinter& printer) : FPrinter(printer) {}

  QStringList Printers() const override;
  void SelectPrinter(const QString& name) override;
  QStringList Papers() const override;
  QStringList Bins() const override;
  void SelectPaper(const QString& name) override;
  void SelectBin(const QString& name) override;
  void SetOrientation(int orientation) override;
  bool SupportCollate() const override;
  bool SupportDuplex() const override;
  void SetCollate(bool on) override;
  void SetDuplex(int duplex) override;
  void SetCopies(int copies) override;

  // The name shown for a paper source, and back (false when the name is unknown).
  static QString PaperSourceName(QPrinter::PaperSource source);
  static bool PaperSourceFromName(const QString& name, QPrinter::PaperSource& source);

 private:
  QPrinter& FPrinter;
};
