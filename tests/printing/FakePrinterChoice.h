#pragma once
// A printer choice over a made-up set of printers that records every call, so tests can see
// what the set-up hands to a job without any printer installed.
#include <QMap>
#include <QStringList>

#include "printing/PrinterChoice.h"

struct TFakePrinter {
  QStringList papers;
  QStringList bins;
  bool collate = true;
  bool duplex = true;
};

class TFakePrinterChoice : public TPrinterChoice {
 public:
  TFakePrinterChoice() {
    FPrinters["Laser One"] = {{"Letter", "Legal", "A4"}, {"Tray 1", "Tray 2", "Manual Feed"}};
    FPrinters["Ink Two"] = {{"Letter", "Envelope #10"}, {"Rear Tray"}, false, false};
  }
  void AddPrinter(const QString& name, const TFakePrinter& p) { FPrinters[name] = p; }

  QStringList Printers() const override { return FPrinters.keys(); }
  void SelectPrinter(const QString& name) override {
    FSelected = name;
    Calls << "SelectPrinter " + name;
  }
  QStringList Papers() const override { return FPrinters.value(FSelected).papers; }
  QStringList Bins() const override { return FPrinters.value(FSelected).bins; }
  void SelectPaper(const QString& name) override { Calls << "SelectPaper " + name; }
  void SelectBin(const QString& name) override { Calls << "SelectBin " + name; }
  void SetOrientation(int o) override { Calls << "Orientation " + QString::number(o); }
  bool SupportCollate() const override { return FPrinters.value(FSelected).collate; }
  bool SupportDuplex() const override { return FPrinters.value(FSelected).duplex; }
  void SetCollate(bool on) override { Calls << "Collate " + QString::number(on); }
  void SetDuplex(int d) override { Calls << "Duplex " + QString::number(d); }
  void SetCopies(int c) override { Calls << "Copies " + QString::number(c); }

  QStringList Calls;

 private:
  QMap<QString, TFakePrinter> FPrinters;
  QString FSelected;
};
