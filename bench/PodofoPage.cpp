// A second reference for Papyra's PDF beside reportlab: PoDoFo draws page 1 of Papyra's own job
// (its display list as text, from `papyra-batch print ... --out job.txt`) the given number of
// times, with the standard PDF fonts in WinAnsi (nothing embedded, as Papyra's PDFs) and
// compressed pages, streamed to the file as each page is finished.
//
// With --form, what page 1 shares with the next page of the same form among the first few (the
// face of the form; a copy may be followed by its instructions) is drawn once as a form object
// and placed on every page; the rest of page 1 is drawn on each page. Without it, every item is
// drawn on every page.
//
// usage: bench_podofo_page [--form] JOB.txt PAGES OUT.pdf

#include <podofo/podofo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double kInch = 72.0;
// Pages of the job looked at for the face, and the fewest shared items that make one.
constexpr int kLookPages = 4;
constexpr size_t kMinFaceItems = 8;

struct Rgb {
  double r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct Item {
  enum Kind { Text, Line, Rect, Bar } kind = Text;
  std::string source;                 // the dump's line after "page N ", to tell shared items apart
  double a = 0, b = 0, c = 0, d = 0;  // x y / x1 y1 x2 y2 / l t r b
  double width = 0, size = 0, radius = 0;
  std::string font, align, text;
  std::optional<Rgb> stroke, fill;
};

struct Job {
  double width = 8.5, height = 11.0;
  std::vector<std::vector<Item>> pages = std::vector<std::vector<Item>>(kLookPages);
};

std::optional<Rgb> colour(const std::string& hex) {
  if (hex == "-") return std::nullopt;
  const unsigned long v = std::stoul(hex, nullptr, 16);
  return Rgb{((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0};
}

std::string fontName(const std::string& family, const std::string& style) {
  static const std::map<std::string, std::vector<std::string>> families = {
      {"Courier New", {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"}},
      {"Arial", {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"}},
      {"Times New Roman", {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"}}};
  auto it = families.find(family);
  const auto& names = it == families.end() ? families.at("Arial") : it->second;
  const bool bold = style.find('B') != std::string::npos;
  const bool italic = style.find('I') != std::string::npos;
  return names[bold + 2 * italic];
}

std::string unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) ++i;
    out += s[i];
  }
  return out;
}

const std::string kNum = R"(([\d.-]+))";

std::optional<Item> parseText(const std::string& rest) {
  static const std::regex re("text x=" + kNum + " y=" + kNum + R"re( font="([^"]*)" size=)re" +
                             kNum + R"re( style=(\S+) align=(\w+) color=(\w+) "(.*)"$)re");
  std::smatch m;
  if (!std::regex_match(rest, m, re)) return std::nullopt;
  Item item;
  item.kind = Item::Text;
  item.a = std::stod(m[1]);
  item.b = std::stod(m[2]);
  item.font = fontName(m[3], m[5]);
  item.size = std::stod(m[4]);
  item.align = m[6];
  item.fill = colour(m[7]);
  item.text = unescape(m[8]);
  return item;
}

std::optional<Item> parseShape(const std::string& rest) {
  static const std::regex line("line x1=" + kNum + " y1=" + kNum + " x2=" + kNum + " y2=" + kNum +
                               " width=" + kNum + R"( color=(\w+))");
  static const std::regex rect("rect l=" + kNum + " t=" + kNum + " r=" + kNum + " b=" + kNum +
                               " width=" + kNum + R"( outline=(\S+) fill=(\S+) radius=)" + kNum);
  static const std::regex bar("bar l=" + kNum + " t=" + kNum + " r=" + kNum + " b=" + kNum);
  std::smatch m;
  Item item;
  if (std::regex_search(rest, m, line)) {
    item.kind = Item::Line;
    item.stroke = colour(m[6]);
  } else if (std::regex_search(rest, m, rect)) {
    item.kind = Item::Rect;
    item.stroke = colour(m[6]);
    item.fill = colour(m[7]);
    item.radius = std::stod(m[8]);
  } else if (std::regex_search(rest, m, bar)) {
    item.kind = Item::Bar;
    item.fill = Rgb{};
  } else {
    return std::nullopt;
  }
  item.a = std::stod(m[1]);
  item.b = std::stod(m[2]);
  item.c = std::stod(m[3]);
  item.d = std::stod(m[4]);
  if (item.kind != Item::Bar) item.width = std::max(std::stod(m[5]), 1.0 / 1200.0);
  return item;
}

// The first few pages of the job are all the reference needs.
Job parseJob(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  static const std::regex head(R"(job .* width=([\d.]+) height=([\d.]+).*)");
  static const std::regex pageLine(R"(page (\d+) (.*)$)");
  Job job;
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_match(line, m, head)) {
      job.width = std::stod(m[1]);
      job.height = std::stod(m[2]);
      continue;
    }
    if (!std::regex_match(line, m, pageLine)) continue;
    const int page = std::stoi(m[1]);
    if (page > kLookPages) break;
    const std::string rest = m[2];
    auto item = rest.starts_with("text ") ? parseText(rest) : parseShape(rest);
    if (!item) continue;
    item->source = rest;
    job.pages[page - 1].push_back(*item);
  }
  return job;
}

using Split = std::pair<std::vector<Item>, std::vector<Item>>;

// Items of the first page that the second has too, each matched once, and the others.
Split splitWith(const std::vector<Item>& first, const std::vector<Item>& second) {
  std::multiset<std::string> shared;
  for (const Item& item : second) shared.insert(item.source);
  std::vector<Item> face, rest;
  for (const Item& item : first) {
    auto it = shared.find(item.source);
    if (it != shared.end()) {
      shared.erase(it);
      face.push_back(item);
    } else {
      rest.push_back(item);
    }
  }
  return {face, rest};
}

// The face and the rest of page 1, from the first later page that shares a face with it.
Split splitFace(const Job& job) {
  for (size_t p = 1; p < job.pages.size(); ++p) {
    Split split = splitWith(job.pages[0], job.pages[p]);
    if (split.first.size() >= kMinFaceItems) return split;
  }
  return {{}, job.pages[0]};
}

// Draws items in PDF points; sets colours and line widths only when they change, as a careful
// caller of the painter would.
class Drawer {
 public:
  Drawer(PoDoFo::PdfDocument& doc, double top) : doc_(doc), top_(top) {}

  void begin(PoDoFo::PdfCanvas* canvas) {
    painter_.SetPage(canvas);
    fill_.reset();
    stroke_.reset();
    lineWidth_ = -1;
  }
  void end() { painter_.FinishPage(); }

  // A streamed document writes a form object's dictionary when its stream begins, before the
  // painter would name the fonts in its resources: they are made and named beforehand.
  void nameFonts(const std::vector<Item>& items, PoDoFo::PdfObject* resources) {
    PoDoFo::PdfDictionary names;
    for (const Item& item : items) {
      if (item.kind != Item::Text) continue;
      PoDoFo::PdfFont* f = font(item.font);
      names.AddKey(f->GetIdentifier(), f->GetObject()->Reference());
    }
    resources->GetDictionary().AddKey(PoDoFo::PdfName("Font"), names);
  }
  PoDoFo::PdfPainter& painter() { return painter_; }

  void draw(const std::vector<Item>& items) {
    for (const Item& item : items) {
      switch (item.kind) {
        case Item::Text:
          text(item);
          break;
        case Item::Line:
          line(item);
          break;
        case Item::Rect:
          rect(item);
          break;
        case Item::Bar:
          rect(item);
          break;
      }
    }
  }

 private:
  PoDoFo::PdfFont* font(const std::string& name) {
    auto it = fonts_.find(name);
    if (it != fonts_.end()) return it->second;
    PoDoFo::PdfFont* f =
        doc_.CreateFont(name.c_str(), false, false, false,
                        PoDoFo::PdfEncodingFactory::GlobalWinAnsiEncodingInstance(),
                        PoDoFo::PdfFontCache::eFontCreationFlags_AutoSelectBase14, false);
    if (!f) throw std::runtime_error("no standard font " + name);
    return fonts_[name] = f;
  }

  void setFill(const Rgb& c) {
    if (fill_ != c) {
      painter_.SetColor(c.r, c.g, c.b);
      fill_ = c;
    }
  }
  void setStroke(const Rgb& c, double width) {
    if (stroke_ != c) {
      painter_.SetStrokingColor(c.r, c.g, c.b);
      stroke_ = c;
    }
    if (lineWidth_ != width) {
      painter_.SetStrokeWidth(width * kInch);
      lineWidth_ = width;
    }
  }

  void text(const Item& item) {
    PoDoFo::PdfFont* f = font(item.font);
    f->SetFontSize(static_cast<float>(item.size));
    painter_.SetFont(f);
    setFill(item.fill.value_or(Rgb{}));
    const PoDoFo::PdfString s(reinterpret_cast<const PoDoFo::pdf_utf8*>(item.text.c_str()));
    double x = item.a * kInch;
    if (item.align != "left") {
      const double w = f->GetFontMetrics()->StringWidth(s);
      x -= item.align == "center" ? w / 2 : w;
    }
    painter_.DrawText(x, top_ - item.b * kInch, s);
  }

  void line(const Item& item) {
    setStroke(item.stroke.value_or(Rgb{}), item.width);
    painter_.DrawLine(item.a * kInch, top_ - item.b * kInch, item.c * kInch, top_ - item.d * kInch);
  }

  void rect(const Item& item) {
    if (item.stroke) setStroke(*item.stroke, item.width);
    if (item.fill) setFill(*item.fill);
    const double r = item.radius * kInch;
    painter_.Rectangle(item.a * kInch, top_ - item.d * kInch, (item.c - item.a) * kInch,
                       (item.d - item.b) * kInch, r, r);
    if (item.stroke && item.fill)
      painter_.FillAndStroke();
    else if (item.fill)
      painter_.Fill();
    else
      painter_.Stroke();
  }

  PoDoFo::PdfDocument& doc_;
  PoDoFo::PdfPainter painter_;
  double top_;
  std::map<std::string, PoDoFo::PdfFont*> fonts_;
  std::optional<Rgb> fill_, stroke_;
  double lineWidth_ = -1;
};

void write(const Job& job, bool useForm, long pages, const std::string& out) {
  PoDoFo::PdfStreamedDocument doc(out.c_str());
  doc.GetInfo()->SetTitle(PoDoFo::PdfString("Form 1099-NEC"));
  doc.GetInfo()->SetCreator(PoDoFo::PdfString("Papyra"));
  const PoDoFo::PdfRect size(0, 0, job.width * kInch, job.height * kInch);
  const double top = job.height * kInch;
  auto [face, rest] = useForm ? splitFace(job) : Split{{}, job.pages[0]};
  Drawer drawer(doc, top);
  std::optional<PoDoFo::PdfXObject> form;
  if (!face.empty()) {
    form.emplace(size, &doc);
    drawer.nameFonts(face, form->GetResources());
    drawer.begin(&*form);
    drawer.draw(face);
    drawer.end();
  }
  for (long i = 0; i < pages; ++i) {
    drawer.begin(doc.CreatePage(size));
    if (form) drawer.painter().DrawXObject(0, 0, &*form);
    drawer.draw(rest);
    drawer.end();
  }
  doc.Close();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const bool useForm = !args.empty() && args.front() == "--form";
  if (useForm) args.erase(args.begin());
  if (args.size() != 3) {
    std::cerr << "usage: bench_podofo_page [--form] JOB.txt PAGES OUT.pdf\n";
    return 2;
  }
  try {
    PoDoFo::PdfError::EnableDebug(false);
    write(parseJob(args[0]), useForm, std::stol(args[1]), args[2]);
  } catch (const PoDoFo::PdfError& e) {
    std::cerr << "PoDoFo: " << PoDoFo::PdfError::ErrorName(e.GetError()) << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
