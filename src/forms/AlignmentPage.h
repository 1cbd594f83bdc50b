#pragma once
// The alignment page for pre-printed red copies: printed on plain paper, it shows where every
// item of a form's red copy table lands with the offsets now held, so that a user holding it
// over a red form against the light can read how far the printer shifts the print, enter that
// in the offsets window and print the page again to confirm.
#include <QList>
#include <QString>

#include "engine/DisplayList.h"
#include "forms/FormPrint.h"

class TPagePrinter;
struct TReportLayout;

// One item of the red copy table on the alignment page.
struct TAlignmentMark {
  QString Item;  // the table's name for it ("Box 1")
  QString Text;  // what stands there: the item's name as a placeholder, or its own "X" or year
  double X = 0;  // anchor (see Align) and baseline, inches, offsets included
  double Y = 0;
  double Width = 0;  // the room its text has on the form; 0 for a check mark or the year
  TAlign Align = TAlign::Left;
};

// The marks of one slot whose top is top inches down the sheet (VO included), each item of the
// table once at its place as the red copy prints it with a trade name and a two-line recipient
// name. The room of an item is the width it is fitted to, else that of the report parameter that
// prints the same field on the program-generated form (face).
QList<TAlignmentMark> AlignmentMarks(const TFormDef& form, const TReportLayout& face, double top,
                                     double ho);

// The whole page: a ruler in inches and millimetres along the top and left edges, a cross-hair
// at the corner of each slot and the marks of every slot, all but the rulers moved by the
// offsets, and a line that says what the page is and which offsets it was printed with.
void PrintAlignmentPage(const TFormDef& form, TPagePrinter& printer, const TFormOffsets& offsets,
                        const TReportLayout& face);
// The same with the form's face read from the report project the screens use.
void PrintAlignmentPage(const TFormDef& form, TPagePrinter& printer, const TFormOffsets& offsets);

// Where the cross-hair of a slot stands, before the offsets: the form's left edge, the slot's top.
constexpr double kSlotCornerX = 0.5;
