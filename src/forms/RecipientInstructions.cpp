#include "forms/RecipientInstructions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

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

// Lays words into columns of the page, and pages when the columns are full.
class TColumnWriter {
 public:
  TColumnWriter(TPagePrinter& printer, const TInstructions& text) : P(printer), T(text) {
    Width = (P.PageWidth() - 2 * kMargin - kGutter) / 2;
    StartPage();
  }
  int Pages() const { return FPages; }

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
    ++FPages;
    P.SetFont(kFont, kTitleSize);
    P.SetBold(true);
    const double titleY = kMargin + 0.25;
    P.PrintXY(kMargin, titleY, T.Title);
    P.SetFontSize(kTextSize);
    P.SetBold(false);
    P.PrintRight(T.Form + QStringLiteral(" (") + T.Year + QLatin1Char(')'),
                 P.PageWidth() - kMargin);
    P.SetPenWidth(0.015);
    P.Line(kMargin, titleY + 0.1, P.PageWidth() - kMargin, titleY + 0.1);
    Top = titleY + 0.1 + kTextSize / 60.0 + 0.05;
    Column = 0;
    Y = Top;
  }

  void NextColumn() {
    if (Column == 0) {
      Column = 1;
      Y = Top;
      return;
    }
    P.NewPage();
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
      P.SetFont(kFont, kTextSize);
      P.SetBold(bold);
      P.PrintXY(left + x, Y, text);
    });
  }

  TPagePrinter& P;
  const TInstructions& T;
  double Width = 0, Top = 0, Y = 0;
  int Column = 0;
  int FPages = 0;
};
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
  TColumnWriter writer(printer, text);
  for (const TInstructions::TBlock& block : text.Blocks)
    writer.Paragraph(block.Heading ? Words(QStringLiteral("**") + block.Text + QStringLiteral("**"))
                                   : Words(block.Text));
  printer.PopFont();
  return writer.Pages();
}
