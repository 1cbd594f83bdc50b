#include "forms/FormPrint.h"

#include <QMap>
#include <algorithm>
#include <optional>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "engine/PagePrinter.h"
#include "engine/ReportProject.h"
#include "forms/FormRegistry.h"
#include "forms/FormSelection.h"
#include "forms/FormTotals.h"
#include "maintenance/RecordList.h"
#include "printing/PrinterOffsets.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
constexpr double kRedCopySize = 12;
constexpr double kBaselineX = 0.5;  // where a GotoXY that only sets a baseline puts the cursor

// Brings the name index up to date, runs start, then each for every payee in name order (each
// one current and loaded in PayeeRec), and makes the payee that was current before current
// again, however the walk ends.
template <typename S, typename F>
void ForEachPayeeByName(S&& start, F&& each) {
  TRecordSet& payees = *FrmDataModule->RSPayee;
  RecIndexCount = payees.RecordCount();
  BuildRecIndex();
  payees.PushRec();
  TScopeCleanup backToPayee([&payees] { payees.PopRec(); });
  start();
  const size_t count = std::min<size_t>(RecIndex.size(), size_t(std::max(RecIndexCount, 0)));
  for (size_t i = 0; i < count; ++i) {
    payees.SetCurrentRecord(RecIndex[i].Index + 1);
    payees.GetRec();
    each();
  }
}

double ItemFontSize(const TRedCopyItem& item, const QString& text, const TFormData& d,
                    double fitted) {
  switch (item.Fit) {
    case TFit::None:
      return kRedCopySize;
    case TFit::Text:
      return FitFontSize(text, item.FitWidth);
    case TFit::Field:
      return FitFontSize(ValueText(item.FitValue, d), item.FitWidth);
    case TFit::Same:
      return fitted;
  }
  return kRedCopySize;
}

void PrintAligned(TPagePrinter& printer, const QString& text, double x, TAlign align) {
  if (align == TAlign::Center)
    printer.PrintCenter(text, x);
  else if (align == TAlign::Right)
    printer.PrintRight(text, x);
  else
    printer.PrintLeft(text, x);
}

void PrintRedCopyItem(TPagePrinter& printer, const TRedCopyItem& item, const QString& text,
                      double x, double y) {
  if (item.Flags & rfPushPos) printer.PushPos();
  if ((item.Flags & rfLine) || item.Align != TAlign::Left) {
    if (printer.YPos() != y) printer.GotoXY(kBaselineX, y);
    PrintAligned(printer, text, x, item.Align);
  } else {
    printer.PrintXY(x, y, text);
  }
  if (item.Flags & rfPushPos) printer.PopPos();
}
}  // namespace

void InstallOffsetForms() {
  QList<TOffsetForm> forms = {{"Form 1096", "F1096"}};
  for (const TFormDef* def : FormDefs()) forms.append(TOffsetForm{def->Name, def->OffsetPrefix});
  SetOffsetForms(forms);
}

TFormOffsets& HeldOffsets(const QString& prefix) {
  static QMap<QString, TFormOffsets> held;
  return held[prefix];
}

TFormOffsets ReadHeldOffsets(const QString& prefix) {
  TFormOffsets& held = HeldOffsets(prefix);
  ReadFormOffsets(prefix, held.VO, held.HO);
  return held;
}

void SetFormParams(TReportProject& project, std::span<const TParamDef> params, const TFormData& d) {
  for (const TParamDef& p : params)
    project.SetParam(QString::fromLatin1(p.Name), ValueText(p.Value, d));
}

TRecipientPrint StartRecipientPrint(const TFormDef& form, TReportProject& project,
                                    const TCopyChoice& choice) {
  TRecipientPrint job{form, project,           choice.WithInstructions(),
                      {},   PayeeParams(form), choice.MaskTIN()};
  // The text is read before anything prints: a missing file stops the print at its start.
  if (job.WithInstructions)
    job.Instructions = LoadInstructions(InstructionsFile(form, project.ProjectFile()));
  project.SetCopy(choice.Copy());
  project.Open();
  project.SelectReport(QString::fromLatin1(form.Report));
  SetFormParams(project, form.PayerParams, CurrentFormData());
  return job;
}

void PrintRecipient(TRecipientPrint& job, TPagePrinter& printer) {
  TFormData d = CurrentFormData();
  d.MaskRecipientTIN = job.MaskTIN;
  SetFormParams(job.Project, job.PayeeParams, d);
  job.Project.Execute();
  if (!job.WithInstructions) return;
  printer.NewPage();
  PrintInstructions(printer, job.Instructions);
}

void ForEachFormPayee(const TFormDef& form, const std::function<void()>& start,
                      const std::function<void()>& each, const TPayeeSelection& selection) {
  const TFormFilter takes(form, selection);
  const TRecordSet& payees = *FrmDataModule->RSPayee;
  ForEachPayeeByName(start, [&] {
    if (takes(PayeeRec.Data(), payees.CurrentRecord())) each();
  });
}

int PrintProgramGenerated(const TFormDef& form, TPagePrinter& printer, TReportProject& project,
                          const TCopyChoice& choice, const TPayeeSelection& selection) {
  int printed = 0;
  std::optional<TRecipientPrint> job;
  auto start = [&] { job.emplace(StartRecipientPrint(form, project, choice)); };
  auto each = [&] {
    // The page is opened for a form that is about to print, never after the last one: a payee
    // that counts in TotalForms without printing must not leave an empty sheet behind.
    if (printed > 0) printer.NewPage();
    PrintRecipient(*job, printer);
    ++printed;
  };
  {
    TScopeCleanup closeProject([&project] { project.Close(); });
    ForEachFormPayee(form, start, each, selection);
  }
  return printed;
}

void DrawRedCopyForm(TPagePrinter& printer, const TRedCopyDef& def, const TFormData& d, double top,
                     double ho) {
  printer.SetFont(QStringLiteral("Courier New"), kRedCopySize);
  const bool trade = CondHolds(TCond::HasTradeName, nullptr, d);
  double fitted = kRedCopySize;
  for (const TRedCopyItem& item : def.Items) {
    if (!CondHolds(item.Cond, item.CondField, d)) continue;
    const QString text = ValueText(item.Text, d);
    const double size = ItemFontSize(item, text, d, fitted);
    if (item.Fit != TFit::None) fitted = size;
    const double row = !trade && !std::isnan(item.RowNoTrade) ? item.RowNoTrade : item.Row;
    if (item.Flags & rfPushFont) printer.PushFont();
    printer.SetFontSize(size);
    PrintRedCopyItem(printer, item, text, ho + item.Column, top + row);
    if (item.Flags & rfPushFont) printer.PopFont();
    printer.SetFontSize(kRedCopySize);
  }
}

int PrintRedCopies(const TFormDef& form, TPagePrinter& printer, const TFormOffsets& offsets,
                   const TPayeeSelection& selection) {
  const TRedCopyDef& def = form.RedCopy;
  const int slotCount = int(def.SlotTops.size());
  const TFormFilter takes(form, selection);
  const TRecordSet& payees = *FrmDataModule->RSPayee;
  int printed = 0, slot = 0;
  ForEachPayeeByName([] {},
                     [&] {
                       const TFormData d = CurrentFormData();
                       if (!takes(d.Payee, payees.CurrentRecord())) return;
                       // A new sheet only for a form that is about to print: no empty red copy at
                       // the end.
                       if (slot == slotCount) {
                         printer.NewPage();
                         slot = 0;
                       }
                       DrawRedCopyForm(printer, def, d, def.SlotTops[slot] + offsets.VO,
                                       offsets.HO);
                       ++slot;
                       ++printed;
                     });
  return printed;
}
