#pragma once
// One PDF file per recipient: each printed form with its instructions in a file of its own,
// named "<form> <recipient name> <last 4 of the TIN>.pdf", optionally protected by a password
// the recipient knows (the last four digits of the TIN or the five-digit ZIP code).
#include <QList>
#include <QString>
#include <functional>

#include "forms/FormValues.h"
#include "printing/PayeeSelection.h"
#include "printing/PrintType.h"

class TPagePrinter;
struct TFormDef;

enum class TPasswordSource { None, TinLast4, Zip };

// "tin-last4", "zip", "none"; false for anything else.
bool PasswordSourceByName(const QString& name, TPasswordSource& source);
// The recipient's password from the payee record; empty when the record has none to give
// (no TIN of nine digits, no five-digit ZIP code).
QString RecipientPassword(const TFormData& d, TPasswordSource source);
// The file name (without folder) for a payee: characters a file name cannot hold replaced.
QString RecipientFileName(const TFormDef& form, const TFormData& d);

struct TRecipientFile {
  QString FileName;  // full path
  QString Recipient;
  bool Protected = false;
  bool NoPassword = false;  // a password was asked for but the recipient has no such value
};

struct TRecipientFilesJob {
  const TFormDef& Form;
  // The report project file; the files are drawn through a project of their own, so that the
  // caller's project keeps its engine.
  QString ProjectFile;
  QString Folder;
  TPasswordSource Password = TPasswordSource::None;
  TCopyChoice Copies;
  // Printer settings (paper, orientation) each file's pages are laid out with.
  const TPagePrinter* Model = nullptr;
  // Told before each file with the number done and the total; false stops the run.
  std::function<bool(int done, int total)> Progress;
  // The payees whose files are written: those of the print the files are made from.
  TPayeeSelection Selection = {};
};

// Writes the files into the folder (created when missing), in name order; names that two
// recipients share get " (2)", " (3)" ... Returns the files written. Throws EReportException
// when a file cannot be written; the files written before it stay.
QList<TRecipientFile> WriteRecipientFiles(const TRecipientFilesJob& job);
// The line a list of files shows for one file.
QString RecipientFileLine(const TRecipientFile& file);
