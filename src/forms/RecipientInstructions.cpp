#include "forms/RecipientInstructions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

#include "engine/PagePrinter.h"
#include "forms/FormTables.h"
#include "platform/Exceptions.h"

namespace {
constexpr double kMargin = 0.5;
constexpr double kGutter = 0.3;
constexpr double kTitleSize = 12;
constexpr double kTextSize = 8;
constexpr double kParagraphGap = 0.06;
const QString kFont = QStringLiteral("Arial");

// A word and whether it prints bold.
struct TWord {
  QString Text;
  bool Bold;
};

QList<TWord> Words(const QString& text) {
  QList<TWord> words;
  bool bold = false;
  const QStringList runs = text.split(QStringLiteral("**"));
  for (const QString& run : runs) {
    for (const QString& w : run.split(QLatin1Char(' '), Qt::SkipEmptyParts))
      words.append({w, bold});
    bold = !bold;
  }
  return words;
}

double TitleY() {
  return kMargin + 0.25;
}
// Where the columns start, below the title and its rule.
double ColumnTop() {
  return TitleY() + 0.1 + kTextSize / 60.0 + 0.05;
}

// Widths of the body text as the printer measures it, regular and bold: a layout made with one
// device's metrics is reused only on a device that measures alike.
std::pair<double, double> ProbeWidths(TPagePrinter& p) {
  const QString probe = QStringLiteral("Instructions for Recipient 0123456789 WMiil.,");
  p.SetFont(kFont, kTextSize);
  p.SetBold(false);
  const double regular = p.TextWidth(probe);
  p.SetBold(true);
  const double bold = p.TextWidth(probe);
  p.SetBold(false);
  return {regular, bold};
}
}  // namespace

// Where every run of the text prints: the same for every copy of a job, so it is worked out once
// (measuring each line as it grows is the costly part) and drawn again for each copy.
struct TInstructionsLayout {
  double PageWidth = 0, PageHeight = 0;
  std::pair<double, double> Probe;
  int Pages = 0;
  struct TRun {
    int Page;
    double X, Y;
    QString Text;
    bool Bold;
  };
  std::vector<TRun> Runs;
};

namespace {
// Lays words into columns of the page, and pages when the columns are full.
class TColumnWriter {
 public:
  TColumnWriter(TPagePrinter& printer, TInstructionsLayout& layout) : P(printer), L(layout) {
    Width = (P.PageWidth() - 2 * kMargin - kGutter) / 2;
    StartPage();
  }

  void Paragraph(const QList<TWord>& words) {
    QList<TWord> line;
    for (const TWord& w : words) {
      line.append(w);
      if (LineWidth(line) > Width && line.size() > 1) {
        line.removeLast();
        EmitLine(line);
        line = {w};
      }
    }
    if (!line.isEmpty()) EmitLine(line);
    Y += kParagraphGap;
  }

 private:
  void StartPage() {
    ++L.Pages;
    Column = 0;
    Y = ColumnTop();
  }

  void NextColumn() {
    if (Column == 0) {
      Column = 1;
      Y = ColumnTop();
      return;
    }
    StartPage();
  }

  double Segment(const QList<TWord>& line, int from, int to, QString& text) const {
    QStringList parts;
    for (int i = from; i < to; ++i) parts.append(line[i].Text);
    text = parts.join(QLatin1Char(' '));
    P.SetFont(kFont, kTextSize);
    P.SetBold(line[from].Bold);
    return P.TextWidth(text);
  }

  // Runs of the same weight, measured as they print.
  template <typename F>
  double ForEachRun(const QList<TWord>& line, F&& each) const {
    double x = 0;
    int from = 0;
    while (from < line.size()) {
      int to = from + 1;
      while (to < line.size() && line[to].Bold == line[from].Bold) ++to;
      QString text;
      const double w = Segment(line, from, to, text);
      each(x, text, line[from].Bold);
      x += w;
      if (to < line.size()) x += P.TextWidth(QStringLiteral(" "));
      from = to;
    }
    return x;
  }

  double LineWidth(const QList<TWord>& line) const {
    return ForEachRun(line, [](double, const QString&, bool) {});
  }

  void EmitLine(const QList<TWord>& line) {
    const double height = kTextSize / 60.0;
    if (Y + height > P.PageHeight() - kMargin) NextColumn();
    Y += height;
    const double left = kMargin + Column * (Width + kGutter);
    ForEachRun(line, [&](double x, const QString& text, bool bold) {
      L.Runs.push_back({L.Pages - 1, left + x, Y, text, bold});
    });
  }

  TPagePrinter& P;
  TInstructionsLayout& L;
  double Width = 0, Y = 0;
  int Column = 0;
};

std::shared_ptr<const TInstructionsLayout> LayOut(TPagePrinter& printer,
                                                  const TInstructions& text) {
  auto layout = std::make_shared<TInstructionsLayout>();
  layout->PageWidth = printer.PageWidth();
  layout->PageHeight = printer.PageHeight();
  layout->Probe = ProbeWidths(printer);
  TColumnWriter writer(printer, *layout);
  for (const TInstructions::TBlock& block : text.Blocks)
    writer.Paragraph(block.Heading ? Words(QStringLiteral("**") + block.Text + QStringLiteral("**"))
                                   : Words(block.Text));
  return layout;
}

bool Fits(const TInstructionsLayout& layout, TPagePrinter& printer) {
  return layout.PageWidth == printer.PageWidth() && layout.PageHeight == printer.PageHeight() &&
         layout.Probe == ProbeWidths(printer);
}

void PrintHeading(TPagePrinter& p, const TInstructions& text) {
  p.SetFont(kFont, kTitleSize);
  p.SetBold(true);
  p.PrintXY(kMargin, TitleY(), text.Title);
  p.SetFontSize(kTextSize);
  p.SetBold(false);
  p.PrintRight(text.Form + QStringLiteral(" (") + text.Year + QLatin1Char(')'),
               p.PageWidth() - kMargin);
  p.SetPenWidth(0.015);
  p.Line(kMargin, TitleY() + 0.1, p.PageWidth() - kMargin, TitleY() + 0.1);
}

void Draw(TPagePrinter& p, const TInstructions& text, const TInstructionsLayout& layout) {
  size_t run = 0;
  for (int page = 0; page < layout.Pages; ++page) {
    if (page > 0) p.NewPage();
    PrintHeading(p, text);
    p.SetFont(kFont, kTextSize);
    for (; run < layout.Runs.size() && layout.Runs[run].Page == page; ++run) {
      const TInstructionsLayout::TRun& r = layout.Runs[run];
      p.SetBold(r.Bold);
      p.PrintXY(r.X, r.Y, r.Text);
    }
  }
}
}  // namespace

TInstructions ParseInstructions(const QString& text) {
  TInstructions result;
  QStringList paragraph;
  auto flush = [&] {
    if (!paragraph.isEmpty()) result.Blocks.append({false, paragraph.join(QLatin1Char(' '))});
    paragraph.clear();
  };
  for (const QString& raw : text.split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.startsWith(QLatin1Char('#')) && !line.startsWith(QLatin1String("##"))) continue;
    if (line.isEmpty()) {
      flush();
    } else if (line.startsWith(QLatin1String("@title "))) {
      result.Title = line.mid(7).trimmed();
    } else if (line.startsWith(QLatin1String("@form "))) {
      result.Form = line.mid(6).trimmed();
    } else if (line.startsWith(QLatin1String("@year "))) {
      result.Year = line.mid(6).trimmed();
    } else if (line.startsWith(QLatin1String("##"))) {
      flush();
      result.Blocks.append({true, line.mid(2).trimmed()});
    } else {
      paragraph.append(line);
    }
  }
  flush();
  return result;
}

TInstructions LoadInstructions(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EReportException(
        QStringLiteral("The instructions for the recipient \"%1\" cannot be read.").arg(fileName));
  return ParseInstructions(QString::fromUtf8(file.readAll()));
}

QString InstructionsFile(const TFormDef& form, const QString& projectFile) {
  QString name = QString::fromLatin1(form.Name);
  name.remove(QStringLiteral("Form "));
  return QFileInfo(projectFile)
      .dir()
      .filePath(QStringLiteral("instructions/") + name + QStringLiteral(".txt"));
}

int PrintInstructions(TPagePrinter& printer, const TInstructions& text) {
  printer.PushFont();
  if (!text.Layout || !Fits(*text.Layout, printer)) text.Layout = LayOut(printer, text);
  Draw(printer, text, *text.Layout);
  printer.PopFont();
  return text.Layout->Pages;
}
