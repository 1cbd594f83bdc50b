#pragma once
// One PDF file per recipient: each printed form with its instructions in a file of its own,
// named "<form> <recipient name>.pdf", optionally protected by a password. A protected file is
// drawn and encrypted in memory, so its unencrypted form never touches the disk, and its name
// holds nothing of the password or the recipient's number.
//
// The passwords: a random passphrase per recipient (listed in "passwords.csv" and
// "passwords.pdf" for the payer to send by another way than the file), the bookkeeper's own
// list matched by TIN, or what the recipient already knows, the last four digits of the TIN or
// the ZIP code, which keep out only someone who does not try: 10,000 or 100,000 guesses open
// such a file. A recipient without a password is written unprotected only when the caller
// allows it; otherwise nothing is written for that recipient.
#include <QHash>
#include <QList>
#include <QString>
#include <functional>

#include "forms/FormValues.h"
#include "printing/PayeeSelection.h"
#include "printing/PrintType.h"

class TPagePrinter;
struct TFormDef;

enum class TPasswordSource { None, TinLast4, Zip, Random, OwnList };

// "tin-last4", "zip", "random", "none"; false for anything else (the own list is given as a
// file of its own).
bool PasswordSourceByName(const QString& name, TPasswordSource& source);
// What a password of the kind keeps out, for the screen, the help and --help.
QString PasswordStrengthText(TPasswordSource source);
// The recipient's password from the payee record for TinLast4 and Zip; empty when the record has
// none to give (no TIN of nine digits, no five-digit ZIP code).
QString RecipientPassword(const TFormData& d, TPasswordSource source);
// A new passphrase: four groups of four letters and digits that cannot be mistaken for one
// another ("k7pq-3mzx-9hbt-w2re", about 79 bits).
QString RandomPassphrase();
// The file name (without folder) for a payee: the form and the recipient's name, characters a
// file name cannot hold replaced.
QString RecipientFileName(const TFormDef& form, const TFormData& d);

struct TRecipientFile {
  QString FileName;  // full path; the name it would have had when it was not written
  QString Recipient;
  QString Tin;              // as entered, for the password list
  QString Password;         // empty when the file is not protected
  bool NoPassword = false;  // a password was asked for but the recipient has none
  bool Written = false;     // false for a recipient without a password and no permission
  bool Protected() const { return !Password.isEmpty(); }
};

struct TRecipientFilesJob {
  const TFormDef& Form;
  // The report project file; the files are drawn through a project of their own, so that the
  // caller's project keeps its engine.
  QString ProjectFile;
  QString Folder;
  TPasswordSource Password = TPasswordSource::None;
  QHash<QString, QString> OwnPasswords;  // TIN digits -> password, for OwnList
  // A recipient who cannot be protected gets an unprotected file; otherwise none.
  bool AllowUnprotected = false;
  TCopyChoice Copies;
  // Printer settings (paper, orientation) each file's pages are laid out with.
  const TPagePrinter* Model = nullptr;
  // Told before each file with the number done and the total; false stops the run.
  std::function<bool(int done, int total)> Progress;
  // The payees whose files are written: those of the print the files are made from.
  TPayeeSelection Selection = {};
};

// Every recipient the run would write, in name order, with the file's name (names that two
// recipients share get " (2)", " (3)" ...) and password (a new random one each time for
// Random). Writes nothing.
QList<TRecipientFile> PlanRecipientFiles(const TRecipientFilesJob& job);
// Writes the planned files into the folder (created as the user's alone when missing), and for
// random passwords first the password list beside them. Returns the plan with Written set.
// Throws EReportException when a file cannot be written; the files written before it stay.
QList<TRecipientFile> WriteRecipientFiles(const TRecipientFilesJob& job,
                                          QList<TRecipientFile> plan);
// Plans and writes.
QList<TRecipientFile> WriteRecipientFiles(const TRecipientFilesJob& job);
// The names of the password list beside the files.
QString PasswordListCsv(const QString& folder);
QString PasswordListPdf(const QString& folder);
// The line a list of files shows for one file.
QString RecipientFileLine(const TRecipientFile& file);
