#pragma once
// What the batch commands that read a payer file share: the program's settings, a read-only
// opening of the file pair, and the output kinds.
#include <QString>

class TFrmDataModule;

// A failure that ends the command with exit code 2 and its message.
struct TBatchFailure {
  QString Message;
};

// The settings root, the shared settings store and the font substitutions, as the program sets
// them at its start.
void StartBatchSettings();

// Opens the payer file for reading only: the payer record into PayerRec, then the payee set of
// the data module without its opening and closing events (they would ask for the password and
// write the records back), positioned on the first payee. No lock is taken; a damaged payee file
// (a record cut short) is refused, and a file protected by a password is refused rather than
// opened without it.
void OpenPayerFileReadOnly(TFrmDataModule& module, const QString& payeeFile);

// Refuses an output file whose extension is not .pdf, .html, .htm, .snp or .txt.
void CheckBatchOutput(const QString& target);
