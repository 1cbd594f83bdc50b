#include "printing/QtPrinterChoice.h"

#include <QPageSize>
#include <QPrinterInfo>
#include <array>
#include <utility>

namespace {
using TSourceName = std::pair<QPrinter::PaperSource, const char*>;
// Upper and OnlyOne share one value; "Upper" is the name users know.
constexpr std::array<TSourceName, 13> kSources = {{
    {QPrinter::Auto, "Automatically Select"},
    {QPrinter::Upper, "Upper"},
    {QPrinter::Middle, "Middle"},
    {QPrinter::Lower, "Lower"},
    {QPrinter::Manual, "Manual Feed"},
    {QPrinter::Envelope, "Envelope"},
    {QPrinter::EnvelopeManual, "Manual Envelope"},
    {QPrinter::Tractor, "Tractor"},
    {QPrinter::SmallFormat, "Small Format"},
    {QPrinter::LargeFormat, "Large Format"},
    {QPrinter::LargeCapacity, "Large Capacity"},
    {QPrinter::Cassette, "Cassette"},
    {QPrinter::FormSource, "Form Source"},
}};
}  // namespace

QString TQtPrinterChoice::PaperSourceName(QPrinter::PaperSource source) {
  for (const auto& [value, name] : kSources)
    if (value == source) return QString::fromLatin1(name);
  return {};
}

bool TQtPrinterChoice::PaperSourceFromName(const QString& name, QPrinter::PaperSource& source) {
  for (const auto& [value, text] : kSources) {
    if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0) {
      source = value;
      return true;
    }
  }
  return false;
}

QStringList TQtPrinterChoice::Printers() const {
  return QPrinterInfo::availablePrinterNames();
}

void TQtPrinterChoice::SelectPrinter(const QString& name) {
  FPrinter.setPrinterName(name);
}

QStringList TQtPrinterChoice::Papers() const {
  QStringList names;
  const QPrinterInfo info(FPrinter);
  for (const QPageSize& size : info.supportedPageSizes()) names.append(size.name());
  return names;
}

QStringList TQtPrinterChoice::Bins() const {
  if (QPrinterInfo(FPrinter).isNull()) return {};
  QStringList names;
  for (const auto& entry : kSources) names.append(QString::fromLatin1(entry.second));
  return names;
}

void TQtPrinterChoice::SelectPaper(const QString& name) {
  const QPrinterInfo info(FPrinter);
  for (const QPageSize& size : info.supportedPageSizes()) {
    if (size.name() == name) {
      FPrinter.setPageSize(size);
      return;
    }
  }
}

void TQtPrinterChoice::SelectBin(const QString& name) {
  QPrinter::PaperSource source;
  if (PaperSourceFromName(name, source)) FPrinter.setPaperSource(source);
}

void TQtPrinterChoice::SetOrientation(int orientation) {
  // The printer's default is what a fresh QPrinter already has, so it changes nothing.
  if (orientation == poPortrait) FPrinter.setPageOrientation(QPageLayout::Portrait);
  if (orientation == poLandscape) FPrinter.setPageOrientation(QPageLayout::Landscape);
}

// The print systems Qt drives on this platform collate copies themselves for any queue.
bool TQtPrinterChoice::SupportCollate() const {
  return !QPrinterInfo(FPrinter).isNull();
}

bool TQtPrinterChoice::SupportDuplex() const {
  const auto modes = QPrinterInfo(FPrinter).supportedDuplexModes();
  return modes.contains(QPrinter::DuplexLongSide) || modes.contains(QPrinter::DuplexShortSide);
}

void TQtPrinterChoice::SetCollate(bool on) {
  FPrinter.setCollateCopies(on);
}

void TQtPrinterChoice::SetDuplex(int duplex) {
  switch (duplex) {
    case pdVertical:
      FPrinter.setDuplex(QPrinter::DuplexShortSide);
      break;
    case pdHorizontal:
      FPrinter.setDuplex(QPrinter::DuplexLongSide);
      break;
    default:
      FPrinter.setDuplex(QPrinter::DuplexNone);
  }
}

void TQtPrinterChoice::SetCopies(int copies) {
  FPrinter.setCopyCount(copies < 1 ? 1 : copies);
}
