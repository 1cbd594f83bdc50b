#include "engine/PrinterTarget.h"

#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
std::shared_ptr<TPrinterTarget>& GlobalTarget() {
  static std::shared_ptr<TPrinterTarget> target = std::make_shared<TPrinterTarget>();
  return target;
}

const QList<QPair<QPrinter::PaperSource, QString>>& SourceNames() {
  static const QList<QPair<QPrinter::PaperSource, QString>> names = {
      {QPrinter::Auto, QStringLiteral("Automatically Select")},
      {QPrinter::Upper, QStringLiteral("Upper Tray")},
      {QPrinter::Lower, QStringLiteral("Lower Tray")},
      {QPrinter::Middle, QStringLiteral("Middle Tray")},
      {QPrinter::Manual, QStringLiteral("Manual Feed")},
      {QPrinter::Envelope, QStringLiteral("Envelope")},
      {QPrinter::EnvelopeManual, QStringLiteral("Envelope Manual Feed")},
      {QPrinter::Tractor, QStringLiteral("Tractor Feed")},
      {QPrinter::SmallFormat, QStringLiteral("Small Format")},
      {QPrinter::LargeFormat, QStringLiteral("Large Format")},
      {QPrinter::LargeCapacity, QStringLiteral("Large Capacity")},
      {QPrinter::Cassette, QStringLiteral("Cassette")},
      {QPrinter::FormSource, QStringLiteral("Form Source")},
  };
  return names;
}

QPageSize FindPageSize(const QString& name) {
  for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
    const QPageSize size(static_cast<QPageSize::PageSizeId>(id));
    if (size.isValid() && (size.name() == name || size.key() == name)) return size;
  }
  return {};
}

// The paper of that name as the printer lists it. CUPS drivers name their sizes themselves
// ("ANSI A" is Letter), and only the printer's own size carries the driver's key; a size no
// printer lists is looked up among the standard ones.
QPageSize PrinterPageSize(const QString& printer, const QString& paperName) {
  if (paperName.isEmpty()) return {};
  if (!printer.isEmpty())
    for (const QPageSize& size : QPrinterInfo::printerInfo(printer).supportedPageSizes())
      if (size.name() == paperName) return size;
  return FindPageSize(paperName);
}

// Applies the job's wishes to a printer, whatever kind of output it has.
void ApplySettings(QPrinter& printer, const TPrinterSettings& s, const QString& title,
                   const QPageSize& page) {
  printer.setDocName(title.isEmpty() ? QStringLiteral("Papyra") : title);
  printer.setCreator(QStringLiteral("Papyra"));
  if (page.isValid()) printer.setPageSize(page);
  if (s.Orientation != TOrientation::Default)
    printer.setPageOrientation(s.Orientation == TOrientation::Landscape ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait);
  for (const auto& [source, name] : SourceNames())
    if (name == s.BinName) printer.setPaperSource(source);
  printer.setCollateCopies(s.Collate);
  printer.setDuplex(s.Duplex == TDuplex::Vertical     ? QPrinter::DuplexLongSide
                    : s.Duplex == TDuplex::Horizontal ? QPrinter::DuplexShortSide
                                                      : QPrinter::DuplexNone);
  printer.setCopyCount(std::max(1, s.Copies));
}
}  // namespace

TPrinterTarget& PrinterTarget() {
  return *GlobalTarget();
}

void SetPrinterTarget(std::shared_ptr<TPrinterTarget> target) {
  GlobalTarget() = target ? std::move(target) : std::make_shared<TPrinterTarget>();
}

QStringList TPrinterTarget::PrinterNames() const {
  return QPrinterInfo::availablePrinterNames();
}

QString TPrinterTarget::DefaultPrinterName() const {
  return QPrinterInfo::defaultPrinterName();
}

QStringList TPrinterTarget::Papers(const QString& printer) const {
  QStringList names;
  for (const QPageSize& size : QPrinterInfo::printerInfo(printer).supportedPageSizes())
    names.append(size.name());
  return names;
}

QStringList TPrinterTarget::Bins(const QString& printer) const {
  // Qt does not tell the paper sources of a printer on Linux; the driver picks the tray for
  // the paper, which is what "Automatically Select" asks for.
  if (!PrinterNames().contains(printer)) return {};
  return {SourceNames().first().second};
}

bool TPrinterTarget::SupportsCollate(const QString& printer) const {
  // Every driver the platform offers can collate copies.
  return PrinterNames().contains(printer);
}

bool TPrinterTarget::SupportsDuplex(const QString& printer) const {
  const QList<QPrinter::DuplexMode> modes =
      QPrinterInfo::printerInfo(printer).supportedDuplexModes();
  return modes.contains(QPrinter::DuplexLongSide) || modes.contains(QPrinter::DuplexShortSide);
}

std::unique_ptr<QPrinter> TPrinterTarget::CreatePrinter(const TPrinterSettings& settings,
                                                        const QString& jobTitle) const {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!settings.PrinterName.isEmpty()) printer->setPrinterName(settings.PrinterName);
  ApplySettings(*printer, settings, jobTitle,
                PrinterPageSize(printer->printerName(), settings.PaperName));
  return printer;
}

bool TPrinterTarget::PaperSizeInches(const QString& paperName, double& width, double& height) {
  if (paperName.isEmpty()) return false;
  static QHash<QString, QSizeF> cache;
  auto it = cache.find(paperName);
  if (it == cache.end()) {
    const QPageSize size = FindPageSize(paperName);
    it = cache.insert(paperName, size.isValid() ? size.size(QPageSize::Inch) : QSizeF());
  }
  if (it->isEmpty()) return false;
  width = it->width();
  height = it->height();
  return true;
}

// ---- PDF printer --------------------------------------------------------------------------------

TPdfPrinterTarget::TPdfPrinterTarget(QString outputFile, QMarginsF unprintableInches,
                                     QString printerName)
    : FOutputFile(std::move(outputFile)),
      FMargins(unprintableInches),
      FName(std::move(printerName)) {}

QStringList TPdfPrinterTarget::PrinterNames() const {
  return {FName};
}
QString TPdfPrinterTarget::DefaultPrinterName() const {
  return FName;
}

QStringList TPdfPrinterTarget::Papers(const QString& printer) const {
  if (printer != FName) return {};
  return {QStringLiteral("Letter"), QStringLiteral("Legal"), QStringLiteral("A4")};
}

QStringList TPdfPrinterTarget::Bins(const QString& printer) const {
  if (printer != FName) return {};
  return {QStringLiteral("Automatically Select"), QStringLiteral("Manual Feed")};
}

bool TPdfPrinterTarget::SupportsCollate(const QString& printer) const {
  return printer == FName && FCollate;
}
bool TPdfPrinterTarget::SupportsDuplex(const QString& printer) const {
  return printer == FName && FDuplex;
}

std::unique_ptr<QPrinter> TPdfPrinterTarget::CreatePrinter(const TPrinterSettings& settings,
                                                           const QString& jobTitle) const {
  FLast = settings;
  ++FCreated;
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(FOutputFile);
  ApplySettings(*printer, settings, jobTitle, FindPageSize(settings.PaperName));
  printer->setPageMargins(FMargins, QPageLayout::Inch);
  return printer;
}
