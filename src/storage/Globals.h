#pragma once
// The state every screen shares for the whole run: the working copies of the payer and the
// current payee, the open file's names, the sorted name index, the Form 1096 totals, the
// folders and the settings.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Settings.h"
#include "storage/RecordLayout.h"

// One entry of the name-sorted payee index: the payee's sort name and its record number - 1.
struct RecIndexData {
  QString Name;
  int32_t Index = 0;
};

// Form types in the order the Forms commands number them.
enum TFormType : uint8_t {
  ft1098 = 0,
  ft1099DIV = 1,
  ft1099INT = 2,
  ft1099MISC = 3,
  ft1099NEC = 4,
  ft1099R = 5,
  ft1099S = 6
};

extern TPayerRecord PayerRec;  // filled from RSPayer on every read, written back on every post
extern TPayeeRecord PayeeRec;  // the same for the current payee of RSPayee

extern QString PayeeFileName;  // full path of the open ".PE25" file
extern QString PayerFileName;  // the same path with the extension ".PR25"
extern bool FileIsOpen;
extern bool SkipPasswordCheck;  // true only while a command reopens the file it just closed

extern uint8_t CurrentFormType;  // a TFormType
extern bool MaskSSNOption;

extern std::vector<RecIndexData> RecIndex;
extern int32_t RecIndexCount;
extern bool RecIndexDirty;

extern int32_t TotalForms;
extern double TotalWithheld;
extern double TotalAmount;

extern QString ProgramFolder;    // with a trailing delimiter
extern QString DocumentsFolder;  // empty when the platform does not tell
extern QString DataFolder;       // DocumentsFolder + "/Papyra/2025/Data/"
extern QString RegistryRoot;     // "Software\Papyra\2025\" or, in development, "...PapyraTest..."
extern std::unique_ptr<TRegistry> AppRegistry;
extern QStringList RecentFiles;  // exactly 10 entries once loaded, index 0 the newest
extern int CalcDecimals;         // the cent digits of the money field entered last
