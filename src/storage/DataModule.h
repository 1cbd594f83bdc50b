#pragma once
// The data module: the two record sets of the open payer file, the way to ask for the file
// password and the report project, tied together by event handlers. Opening the payee set opens the
// payer set first and asks for the file password; closing the payee set saves and closes the payer
// set; every record read or written passes through the working buffers PayerRec and PayeeRec.
//
// To open a payer file: close RSPayee, set PayeeFileName and RSPayee->FileName to the ".PE25"
// path, call RSPayee->OpenRecSet(); FileIsOpen then tells whether it opened.
#include <QObject>
#include <QString>
#include <functional>

#include "storage/RecordSet.h"

class TReportProject;

// What the user answered when asked for the file password.
enum class TPasswordAnswer { Right, Wrong, Cancelled };

class TFrmDataModule : public QObject {
  Q_OBJECT
 public:
  explicit TFrmDataModule(QObject* owner = nullptr);
  ~TFrmDataModule() override;

  TRecordSet* RSPayer;
  TRecordSet* RSPayee;
  // Asks the user for the file password, given the one that opens the file. The screens install
  // their prompt (maintenance/PasswordDialog); without one a protected file does not open.
  std::function<TPasswordAnswer(const QString& password)> OnAskPassword;
  // The report engine places its project here at start-up; the module does not own it.
  TReportProject* ReportProject = nullptr;

  // The main window keeps the recent-files menu. AddRecentFile defaults to updating the global
  // RecentFiles list; RefreshRecentMenu does nothing until the main window sets it.
  std::function<void(const QString& path)> OnAddRecentFile;
  std::function<void()> OnRefreshRecentMenu;

  // Asks for the payer's file password; a wrong or cancelled answer closes the payer set and
  // clears the file names and FileIsOpen.
  void CheckFilePassword();

  void RSPayeeBeforeOpen(TRecordSet* sender);
  void RSPayeeAfterOpen(TRecordSet* sender);
  void RSPayeeBeforeClose(TRecordSet* sender);
  void RSPayeeAfterClose(TRecordSet* sender);
  void RSPayeeAfterNewRec(TRecordSet* sender);
  void RSPayeeAfterDelete(TRecordSet* sender);
  void RSPayeeAfterRead(TRecordSet* sender);
  void RSPayeeBeforePost(TRecordSet* sender);
  void RSPayerAfterRead(TRecordSet* sender);
  void RSPayerBeforePost(TRecordSet* sender);

 private:
  class TPayeeRecordSet;
  void ConnectEvents();
  void OpenPayerSet();
  void RestorePayerRecord();
  bool PayerFileAgreed() const;
  void ReportDamagedPayeeFile();
  void AbandonOpen();
  bool FAbandoning = false;  // closing after a failed open: nothing is saved or remembered
};

// The one data module of the program.
extern TFrmDataModule* FrmDataModule;

// path with its extension (the text after the last "." of the file name) replaced by ext.
QString ChangeFileExt(const QString& path, const QString& ext);

// The payer file that belongs to a payee file: the same name with ".PR25". File names are
// case-sensitive here while the pairs were made where they are not, so a pair copied in as
// "acme.pe25" / "acme.pr25" keeps its payer record: when the ".PR25" name does not exist, the
// one file of the folder whose name matches it but for letter case is taken.
QString PayerFileFor(const QString& payeeFile);

// "The file F is damaged: its last N bytes are not a whole record."
QString DamagedFileText(const QString& file, qint64 tailBytes);
