#pragma once
// Where the program finds what it reads but never writes: the report project and the help
// topics. In the build tree they lie beside the executable; an installed program finds them in
// <prefix>/share/papyra/, found from the executable's own folder so a moved prefix still works.
#include <QString>

// The resource folder for an executable in exeFolder, with a trailing "/": the folder itself
// when it holds the report project, else <exeFolder>/../share/papyra/ when that one does, else
// exeFolder (so a missing project is reported where the build tree would have it).
QString ResourceFolderFor(const QString& exeFolder);
// True when exeFolder is the bin/ folder of an installed tree (its resources are under share/).
bool InstalledLayout(const QString& exeFolder);
// The same for the running executable.
QString ResourceFolder();
QString ReportProjectPath();  // "TaxForms.rpj" in the resource folder
