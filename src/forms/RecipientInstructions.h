#pragma once
// The recipient's instructions printed on the page after each program-generated Copy B. The
// texts are data, one file per form beside the report project ("instructions/1099-NEC.txt"), so
// they can be revised for a new tax year without touching the program. A file holds:
//
//   # a comment line
//   @title Instructions for Recipient
//   @form Form 1099-NEC
//   @year 2025
//   ## A heading
//   A paragraph runs until a blank line. **Box 1.** Text between double stars is bold.
#include <QList>
#include <QString>
#include <memory>

class TPagePrinter;
struct TFormDef;
struct TInstructionsLayout;

struct TInstructions {
  QString Title;  // "Instructions for Recipient"
  QString Form;   // "Form 1099-NEC"
  QString Year;   // "2025"
  struct TBlock {
    bool Heading = false;
    QString Text;  // may hold **bold** runs
  };
  QList<TBlock> Blocks;
  // Where the text fell on the last printer it was printed on; every copy of a job reuses it.
  mutable std::shared_ptr<const TInstructionsLayout> Layout;
};

// Reads the text; throws EReportException for a missing or unreadable file.
TInstructions LoadInstructions(const QString& fileName);
TInstructions ParseInstructions(const QString& text);
// The file of a form's instructions in the folder "instructions" beside the report project
// ("Form 1099-NEC": "instructions/1099-NEC.txt"); both ship beside the program.
QString InstructionsFile(const TFormDef& form, const QString& projectFile);
// Prints the instructions from the top of the printer's current page in two columns, starting
// new pages while text is left. Returns the number of pages used.
int PrintInstructions(TPagePrinter& printer, const TInstructions& text);
