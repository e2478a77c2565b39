#include "Svg.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include "Export.h"
#include "GdiGuard.h"

namespace {

struct TPenState {
  bool Null = false;
  COLORREF Colour = RGB(0, 0, 0);
  int Width = 1;  // 0 is one pixel, whatever the device
};

struct TBrushState {
  bool Null = false;
  COLORREF Colour = RGB(255, 255, 255);
};

struct TDcState {
  TPenState Pen;
  TBrushState Brush;
  LOGFONTW Font{};
  COLORREF TextColour = RGB(0, 0, 0);
  COLORREF BkColour = RGB(255, 255, 255);
  int BkMode = OPAQUE;
  UINT TextAlign = TA_LEFT | TA_TOP;
  POINT Position{0, 0};
};

enum class TObjectKind { Pen, Brush, Font };
struct TObject {
  TObjectKind Kind;
  TPenState Pen;
  TBrushState Brush;
  LOGFONTW Font;
};

// Coordinates are whole or half pixels nearly always: the shortest exact
// form, without the cost of a formatted print per number.
std::string Number(double value) {
  char text[32];
  const double rounded = std::round(value * 1000) / 1000;
  const auto result = std::to_chars(text, text + sizeof text, rounded == 0 ? 0.0 : rounded);
  return std::string(text, result.ptr);
}

std::string Attribute(const char* name, const std::string& value) { return std::string(" ") + name + "=\"" + value + "\""; }

LOGFONTW SystemFont() {
  LOGFONTW lf{};
  GetObjectW(GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
  return lf;
}

class TSvgTranslator {
 public:
  TSvgTranslator() : Measure(CreateCompatibleDC(nullptr)) { State.Font = SystemFont(); }

  void Record(const ENHMETARECORD* record) {
    switch (record->iType) {
      case EMR_HEADER: {
        const auto* h = reinterpret_cast<const ENHMETAHEADER*>(record);
        // The frame in the recording device's pixels: what PlayEnhMetaFile
        // maps onto the picture.
        const double px = h->szlDevice.cx / (h->szlMillimeters.cx * 100.0);
        const double py = h->szlDevice.cy / (h->szlMillimeters.cy * 100.0);
        Frame[0] = h->rclFrame.left * px;
        Frame[1] = h->rclFrame.top * py;
        Frame[2] = (h->rclFrame.right - h->rclFrame.left) * px;
        Frame[3] = (h->rclFrame.bottom - h->rclFrame.top) * py;
        // The frame is kept in .01 mm: a whole number of pixels comes back
        // a hair off, which would smear every hairline over two pixels.
        for (double& f : Frame)
          if (std::fabs(f - std::round(f)) < 0.05) f = std::round(f);
        break;
      }
      case EMR_EOF: break;
      case EMR_CREATEPEN: {
        const auto* r = reinterpret_cast<const EMRCREATEPEN*>(record);
        TObject o{TObjectKind::Pen, {}, {}, {}};
        o.Pen.Null = r->lopn.lopnStyle == PS_NULL;
        o.Pen.Colour = r->lopn.lopnColor;
        o.Pen.Width = r->lopn.lopnWidth.x;
        Objects[r->ihPen] = o;
        break;
      }
      case EMR_EXTCREATEPEN: {
        const auto* r = reinterpret_cast<const EMREXTCREATEPEN*>(record);
        TObject o{TObjectKind::Pen, {}, {}, {}};
        o.Pen.Null = (r->elp.elpPenStyle & PS_STYLE_MASK) == PS_NULL;
        o.Pen.Colour = r->elp.elpColor;
        o.Pen.Width = static_cast<int>(r->elp.elpWidth);
        Objects[r->ihPen] = o;
        break;
      }
      case EMR_CREATEBRUSHINDIRECT: {
        const auto* r = reinterpret_cast<const EMRCREATEBRUSHINDIRECT*>(record);
        TObject o{TObjectKind::Brush, {}, {}, {}};
        o.Brush.Null = r->lb.lbStyle == BS_NULL;
        o.Brush.Colour = r->lb.lbColor;
        Objects[r->ihBrush] = o;
        break;
      }
      case EMR_EXTCREATEFONTINDIRECTW: {
        const auto* r = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        TObject o{TObjectKind::Font, {}, {}, r->elfw.elfLogFont};
        Objects[r->ihFont] = o;
        break;
      }
      case EMR_SELECTOBJECT: Select(reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject); break;
      case EMR_DELETEOBJECT: Objects.erase(reinterpret_cast<const EMRDELETEOBJECT*>(record)->ihObject); break;
      case EMR_SETTEXTCOLOR: State.TextColour = reinterpret_cast<const EMRSETTEXTCOLOR*>(record)->crColor; break;
      case EMR_SETBKCOLOR: State.BkColour = reinterpret_cast<const EMRSETBKCOLOR*>(record)->crColor; break;
      case EMR_SETBKMODE: State.BkMode = static_cast<int>(reinterpret_cast<const EMRSETBKMODE*>(record)->iMode); break;
      case EMR_SETTEXTALIGN: State.TextAlign = reinterpret_cast<const EMRSETTEXTALIGN*>(record)->iMode; break;
      case EMR_SAVEDC: Saved.push_back(State); break;
      case EMR_RESTOREDC: {
        const LONG relative = reinterpret_cast<const EMRRESTOREDC*>(record)->iRelative;
        const LONG keep = static_cast<LONG>(Saved.size()) + relative;  // relative is negative
        if (relative < 0 && keep >= 0) {
          State = Saved[keep];
          Saved.resize(keep);
        }
        break;
      }
      case EMR_MOVETOEX: {
        const POINTL p = reinterpret_cast<const EMRMOVETOEX*>(record)->ptl;
        State.Position = {p.x, p.y};
        break;
      }
      case EMR_LINETO: {
        const POINTL p = reinterpret_cast<const EMRLINETO*>(record)->ptl;
        LineTo(p.x, p.y);
        break;
      }
      case EMR_RECTANGLE: Shape("rect", reinterpret_cast<const EMRRECTANGLE*>(record)->rclBox); break;
      case EMR_ELLIPSE: Shape("ellipse", reinterpret_cast<const EMRELLIPSE*>(record)->rclBox); break;
      case EMR_EXTTEXTOUTW: Text(reinterpret_cast<const EMREXTTEXTOUTW*>(record), true); break;
      case EMR_EXTTEXTOUTA: Text(reinterpret_cast<const EMREXTTEXTOUTW*>(record), false); break;
      // State that does not change what this diagram looks like.
      case EMR_SETMAPMODE:
      case EMR_SETPOLYFILLMODE:
      case EMR_SETROP2:
      case EMR_SETSTRETCHBLTMODE:
      case EMR_SETMITERLIMIT:
      case EMR_SETBRUSHORGEX:
      case EMR_SETICMMODE:
      case EMR_SETLAYOUT:
      case EMR_GDICOMMENT: break;
      default:
        Flush();
        Body += "<!-- record " + std::to_string(record->iType) + " not translated -->\n";
    }
  }

  std::string Svg(int width, int height) {
    Flush();
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
    out += Attribute("width", std::to_string(width)) + Attribute("height", std::to_string(height));
    out += Attribute("viewBox", Number(Frame[0]) + " " + Number(Frame[1]) + " " + Number(Frame[2]) + " " + Number(Frame[3]));
    out += ">\n<rect" + Attribute("x", Number(Frame[0])) + Attribute("y", Number(Frame[1])) +
           Attribute("width", Number(Frame[2])) + Attribute("height", Number(Frame[3])) +
           Attribute("fill", "#ffffff") + "/>\n";
    return out + Body + "</svg>\n";
  }

 private:
  void Select(DWORD index) {
    if (index & 0x80000000u) {
      switch (index & 0x7fffffffu) {
        case WHITE_BRUSH: State.Brush = {false, RGB(255, 255, 255)}; break;
        case LTGRAY_BRUSH: State.Brush = {false, RGB(192, 192, 192)}; break;
        case GRAY_BRUSH: State.Brush = {false, RGB(128, 128, 128)}; break;
        case DKGRAY_BRUSH: State.Brush = {false, RGB(64, 64, 64)}; break;
        case BLACK_BRUSH: State.Brush = {false, RGB(0, 0, 0)}; break;
        case NULL_BRUSH: State.Brush = {true, 0}; break;
        case WHITE_PEN: State.Pen = {false, RGB(255, 255, 255), 0}; break;
        case BLACK_PEN: State.Pen = {false, RGB(0, 0, 0), 0}; break;
        case NULL_PEN: State.Pen = {true, 0, 0}; break;
        default: State.Font = SystemFont(); break;
      }
      return;
    }
    auto found = Objects.find(index);
    if (found == Objects.end()) return;
    switch (found->second.Kind) {
      case TObjectKind::Pen: State.Pen = found->second.Pen; break;
      case TObjectKind::Brush: State.Brush = found->second.Brush; break;
      case TObjectKind::Font: State.Font = found->second.Font; break;
    }
  }

  // The stroke attributes of the current pen, made again only when it changes.
  const std::string& Stroke() {
    const TPenState& pen = State.Pen;
    if (!StrokeValid || pen.Null != StrokePen.Null || pen.Colour != StrokePen.Colour || pen.Width != StrokePen.Width) {
      StrokeText = pen.Null ? Attribute("stroke", "none")
                            : Attribute("stroke", HexColour(pen.Colour)) +
                                  Attribute("stroke-width", std::to_string(pen.Width < 1 ? 1 : pen.Width));
      StrokePen = pen;
      StrokeValid = true;
    }
    return StrokeText;
  }

  // Consecutive lines in one pen become one path. GDI lights the pixel
  // right of and below a coordinate: strokes run through pixel centres.
  void LineTo(int x, int y) {
    if (!State.Pen.Null) {
      const std::string& stroke = Stroke();
      if (!Path.empty() && (stroke != PathStroke || PathEnd.x != State.Position.x || PathEnd.y != State.Position.y))
        Flush();
      if (Path.empty()) {
        PathStroke = stroke;
        Path = 'M';
        Path += Number(State.Position.x + 0.5);
        Path += ' ';
        Path += Number(State.Position.y + 0.5);
      }
      Path += 'L';
      Path += Number(x + 0.5);
      Path += ' ';
      Path += Number(y + 0.5);
      PathEnd = {x, y};
    }
    State.Position = {x, y};
  }

  void Flush() {
    if (Path.empty()) return;
    Body += "<path" + Attribute("d", Path) + " fill=\"none\"" + PathStroke + "/>\n";
    Path.clear();
  }

  // Rectangle and Ellipse: the record's box is inclusive (the call's right
  // and bottom less one), and the outline runs through its edge pixels.
  void Shape(const char* kind, const RECTL& box) {
    Flush();
    const double left = box.left + 0.5, top = box.top + 0.5;
    const double width = box.right - box.left, height = box.bottom - box.top;
    const std::string fill = Attribute("fill", State.Brush.Null ? std::string("none") : HexColour(State.Brush.Colour));
    if (std::string(kind) == "rect") {
      Body += "<rect" + Attribute("x", Number(left)) + Attribute("y", Number(top)) + Attribute("width", Number(width)) +
              Attribute("height", Number(height)) + fill + Stroke() + "/>\n";
    } else {
      Body += "<ellipse" + Attribute("cx", Number(left + width / 2)) + Attribute("cy", Number(top + height / 2)) +
              Attribute("rx", Number(width / 2)) + Attribute("ry", Number(height / 2)) + fill + Stroke() + "/>\n";
    }
  }

  void Text(const EMREXTTEXTOUTW* r, bool wide) {
    Flush();
    const EMRTEXT& t = r->emrtext;
    const auto* bytes = reinterpret_cast<const unsigned char*>(r);
    std::wstring text;
    if (wide) {
      text.assign(reinterpret_cast<const wchar_t*>(bytes + t.offString), t.nChars);
    } else {
      std::string narrow(reinterpret_cast<const char*>(bytes + t.offString), t.nChars);
      text.resize(t.nChars);
      const int n = MultiByteToWideChar(1252, 0, narrow.data(), static_cast<int>(narrow.size()), text.data(),
                                        static_cast<int>(text.size()));
      text.resize(n > 0 ? n : 0);
    }
    if (t.fOptions & ETO_OPAQUE) {
      Body += "<rect" + Attribute("x", Number(t.rcl.left)) + Attribute("y", Number(t.rcl.top)) +
              Attribute("width", Number(t.rcl.right - t.rcl.left)) + Attribute("height", Number(t.rcl.bottom - t.rcl.top)) +
              Attribute("fill", HexColour(State.BkColour)) + "/>\n";
    }
    if (text.empty()) return;

    // The font's metrics, and how far its cell width stretches or squeezes
    // the glyphs: the same font without a width gives the natural advance.
    // A width changes no vertical metric, so one natural font per height
    // serves every label of that height.
    const TNaturalFont& natural = NaturalFont(State.Font);
    const TEXTMETRICW& metrics = natural.Metrics;
    SIZE plain{0, 0}, drawn{0, 0};
    {
      TSelectedObject selected(Measure, natural.Font.Get());
      GetTextExtentPoint32W(Measure, text.c_str(), static_cast<int>(text.size()), &plain);
    }
    if (t.offDx && t.nChars) {
      const auto* dx = reinterpret_cast<const INT*>(bytes + t.offDx);
      for (DWORD i = 0; i < t.nChars; ++i) drawn.cx += dx[i];
    }
    if (drawn.cx <= 0) {
      TOwnedGdiObject font(CreateFontIndirectW(&State.Font));
      TSelectedObject selected(Measure, font.Get());
      GetTextExtentPoint32W(Measure, text.c_str(), static_cast<int>(text.size()), &drawn);
    }
    const double scale = plain.cx > 0 && drawn.cx > 0 ? static_cast<double>(drawn.cx) / plain.cx : 1.0;
    const double em = metrics.tmHeight - metrics.tmInternalLeading;

    const UINT horizontal = State.TextAlign & (TA_LEFT | TA_RIGHT | TA_CENTER);
    const UINT vertical = State.TextAlign & (TA_TOP | TA_BOTTOM | TA_BASELINE);
    const double x = t.ptlReference.x;
    double y = t.ptlReference.y;
    if (vertical == TA_TOP) y += metrics.tmAscent;
    else if (vertical == TA_BOTTOM) y -= metrics.tmDescent;
    // Where GDI puts the text's start: from its own advance, so that a
    // renderer whose advances differ a little still starts where the
    // metafile does (centring on its own width would shift whole labels).
    const double start = horizontal == TA_CENTER ? x - drawn.cx / 2.0 : horizontal == TA_RIGHT ? x - drawn.cx : x;

    if (State.BkMode == OPAQUE && !(t.fOptions & ETO_OPAQUE)) {
      Body += "<rect" + Attribute("x", Number(start)) + Attribute("y", Number(y - metrics.tmAscent)) +
              Attribute("width", Number(drawn.cx)) + Attribute("height", Number(metrics.tmHeight)) +
              Attribute("fill", HexColour(State.BkColour)) + "/>\n";
    }
    std::string face = WideToUtf8(State.Font.lfFaceName);
    std::string family(1, '\'');
    family += XmlText(face);
    family += '\'';
    if (face == "Times New Roman") family += ", 'Liberation Serif', serif";
    else if (face == "Arial") family += ", 'Liberation Sans', sans-serif";
    else if (face == "Courier New") family += ", 'Liberation Mono', monospace";
    Body += "<text" + Attribute("x", Number(start)) + Attribute("y", Number(y)) + Attribute("font-family", family) +
            Attribute("font-size", Number(em)) + Attribute("fill", HexColour(State.TextColour));
    if (State.Font.lfWeight >= FW_BOLD) Body += Attribute("font-weight", "bold");
    if (State.Font.lfItalic) Body += Attribute("font-style", "italic");
    if (std::fabs(scale - 1.0) > 0.005)
      Body += Attribute("transform", "matrix(" + Number(scale) + " 0 0 1 " + Number(start * (1 - scale)) + " 0)");
    Body += " xml:space=\"preserve\">" + XmlText(WideToUtf8(text)) + "</text>\n";
  }

  struct TNaturalFont {
    TOwnedGdiObject Font;
    TEXTMETRICW Metrics{};
  };
  const TNaturalFont& NaturalFont(const LOGFONTW& font) {
    LOGFONTW key = font;
    key.lfWidth = 0;
    const std::wstring face(key.lfFaceName);
    std::memset(key.lfFaceName, 0, sizeof key.lfFaceName);
    std::memcpy(key.lfFaceName, face.c_str(), face.size() * sizeof(wchar_t));  // no stale bytes after the name
    const std::string bytes(reinterpret_cast<const char*>(&key), sizeof key);
    auto found = Fonts.find(bytes);
    if (found != Fonts.end()) return found->second;
    TNaturalFont& entry = Fonts[bytes];
    entry.Font = TOwnedGdiObject(CreateFontIndirectW(&key));
    TSelectedObject selected(Measure, entry.Font.Get());
    GetTextMetricsW(Measure, &entry.Metrics);
    return entry;
  }

  TPenState StrokePen;
  std::string StrokeText;
  bool StrokeValid = false;
  TCreatedDC Measure;
  std::map<std::string, TNaturalFont> Fonts;
  TDcState State;
  std::vector<TDcState> Saved;
  std::map<DWORD, TObject> Objects;
  double Frame[4] = {0, 0, 1, 1};
  std::string Body;
  std::string Path, PathStroke;
  POINT PathEnd{0, 0};
};

int CALLBACK EachRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
  reinterpret_cast<TSvgTranslator*>(data)->Record(record);
  return 1;
}

}  // namespace

std::string MetafileAsSvg(HENHMETAFILE metafile, int width, int height) {
  TSvgTranslator translator;
  if (metafile) EnumEnhMetaFile(nullptr, metafile, EachRecord, &translator, nullptr);
  return translator.Svg(width < 1 ? 1 : width, height < 1 ? 1 : height);
}
