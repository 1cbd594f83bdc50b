#include "storage/Globals.h"

TPayerRecord PayerRec;
TPayeeRecord PayeeRec;

QString PayeeFileName;
QString PayerFileName;
bool FileIsOpen = false;
bool SkipPasswordCheck = false;

uint8_t CurrentFormType = ft1098;
bool MaskSSNOption = true;

std::vector<RecIndexData> RecIndex;
int32_t RecIndexCount = 0;
bool RecIndexDirty = true;

int32_t TotalForms = 0;
double TotalWithheld = 0.0;
double TotalAmount = 0.0;

QString ProgramFolder;
QString DocumentsFolder;
QString DataFolder;
QString RegistryRoot;
std::unique_ptr<TRegistry> AppRegistry;
QStringList RecentFiles;
int CalcDecimals = 2;
