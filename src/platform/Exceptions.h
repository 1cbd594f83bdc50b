#pragma once
// Failures that end a command carry only a message; the application's general error display
// (TApplication::ShowException) shows it.
#include <QString>
#include <exception>
#include <string>

class EPapyraException : public std::exception {
 public:
  explicit EPapyraException(QString message)
      : FMessage(std::move(message)), FUtf8(FMessage.toStdString()) {}
  const QString& Message() const { return FMessage; }
  const char* what() const noexcept override { return FUtf8.c_str(); }

 private:
  QString FMessage;
  std::string FUtf8;
};

#define PAPYRA_EXCEPTION(Name)                \
  class Name : public EPapyraException {      \
   public:                                    \
    using EPapyraException::EPapyraException; \
  };

PAPYRA_EXCEPTION(EFieldException)     // a screen's validation
PAPYRA_EXCEPTION(ECopyFileException)  // a failed file copy
PAPYRA_EXCEPTION(EPrintException)     // a print command that finds nothing to print
PAPYRA_EXCEPTION(ETransferException)  // the prior-year transfer
PAPYRA_EXCEPTION(EDownloadException)  // the web update
PAPYRA_EXCEPTION(EConvertError)       // a text that is not a number or a date
PAPYRA_EXCEPTION(EInOutError)         // a read or write of a file that failed
PAPYRA_EXCEPTION(EReportException)    // the report engine: project, snapshot or printer trouble

#undef PAPYRA_EXCEPTION
