#pragma once
// What the printer set-up needs from a job's printer: the installed printers, the paper sizes
// and paper sources of the selected one, and the job settings it can take. The dialog and the
// set-up applied at the start of a job talk only to this, so any printer (a QPrinter, the
// report engine's page printer, a test double) can stand behind it.
#include <QStringList>

enum TPrinterOrientation { poPortrait = 0, poLandscape = 1, poDefault = 2 };
// Duplex codes as stored: 1 "vertical" is shown as "Tablet" (bound at the short edge, pages
// flip up), 2 "horizontal" is shown as "Book" (bound at the long edge).
enum TPrinterDuplex { pdSimplex = 0, pdVertical = 1, pdHorizontal = 2 };

class TPrinterChoice {
 public:
  virtual ~TPrinterChoice() = default;
  virtual QStringList Printers() const = 0;
  virtual void SelectPrinter(const QString& name) = 0;
  virtual QStringList Papers() const = 0;
  virtual QStringList Bins() const = 0;
  virtual void SelectPaper(const QString& name) = 0;
  virtual void SelectBin(const QString& name) = 0;
  virtual void SetOrientation(int orientation) = 0;
  virtual bool SupportCollate() const = 0;
  virtual bool SupportDuplex() const = 0;
  virtual void SetCollate(bool on) = 0;
  virtual void SetDuplex(int duplex) = 0;
  virtual void SetCopies(int copies) = 0;
};
