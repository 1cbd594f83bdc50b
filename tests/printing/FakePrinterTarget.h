#pragma once
// Two made-up printers with their own papers, sources and abilities. Jobs sent to either go
// into a PDF file, so tests see what was printed without any printer installed.
#include <QMap>
#include <QStringList>

#include "engine/PrinterTarget.h"

struct TFakePrinter {
  QStringList papers;
  QStringList bins;
  bool collate = true;
  bool duplex = true;
};

class TFakePrinterTarget : public TPdfPrinterTarget {
 public:
  explicit TFakePrinterTarget(const QString& outputFile = {}) : TPdfPrinterTarget(outputFile) {
    FPrinters["Laser One"] = {{"Letter", "Legal", "A4"}, {"Tray 1", "Tray 2", "Manual Feed"}};
    FPrinters["Ink Two"] = {{"Letter", "Envelope #10"}, {"Rear Tray"}, false, false};
  }
  QStringList PrinterNames() const override { return FPrinters.keys(); }
  QString DefaultPrinterName() const override { return QStringLiteral("Laser One"); }
  QStringList Papers(const QString& p) const override { return FPrinters.value(p).papers; }
  QStringList Bins(const QString& p) const override { return FPrinters.value(p).bins; }
  bool SupportsCollate(const QString& p) const override { return FPrinters.value(p).collate; }
  bool SupportsDuplex(const QString& p) const override { return FPrinters.value(p).duplex; }

 private:
  QMap<QString, TFakePrinter> FPrinters;
};
