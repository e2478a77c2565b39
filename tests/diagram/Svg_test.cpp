#include "Svg.h"

#include <cstring>

#include "DiagramTestUtil.h"
#include "GdiGuard.h"

using namespace diagtest;

namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Records what the test draws into a 200 x 100 metafile.
template <typename F>
TMetafile Record(F draw) {
  TMetafile metafile;
  metafile.Width = 200;
  metafile.Height = 100;
  TWindowDC screen;
  TMetafileRecorder recorder(metafile, screen);
  draw(recorder.Dc());
  recorder.Close();
  return metafile;
}

using Svg_ = DiagramTest;

}  // namespace

TEST_F(Svg_, LinesRectanglesAndDotsStandOnPixelCentres) {
  const TMetafile m = Record([](HDC dc) {
    TSelectedObject pen(dc, CreatePen(PS_SOLID, 0, RGB(255, 0, 0)));
    TSelectedObject brush(dc, CreateSolidBrush(RGB(0, 0, 255)));
    MoveToEx(dc, 10, 20, nullptr);
    LineTo(dc, 10, 60);
    LineTo(dc, 50, 60);  // one pen, one path
    Rectangle(dc, 100, 10, 120, 30);
    Ellipse(dc, 5, 5, 15, 15);
  });
  const std::string svg = MetafileAsSvg(m.Handle(), m.Width, m.Height);
  EXPECT_TRUE(Has(svg, "width=\"200\" height=\"100\" viewBox=\"0 0 200 100\"")) << svg;
  EXPECT_TRUE(Has(svg, "<path d=\"M10.5 20.5L10.5 60.5L50.5 60.5\" fill=\"none\" stroke=\"#ff0000\" stroke-width=\"1\"/>"))
      << svg;
  EXPECT_TRUE(Has(svg, "<rect x=\"100.5\" y=\"10.5\" width=\"19\" height=\"19\" fill=\"#0000ff\" stroke=\"#ff0000\""))
      << svg;
  EXPECT_TRUE(Has(svg, "<ellipse cx=\"10\" cy=\"10\" rx=\"4.5\" ry=\"4.5\" fill=\"#0000ff\"")) << svg;
  EXPECT_FALSE(Has(svg, "not translated")) << svg;
}

TEST_F(Svg_, APenChangeInALineStartsAPathOfItsColour) {
  const TMetafile m = Record([](HDC dc) {
    TSelectedObject pen(dc, CreatePen(PS_SOLID, 0, RGB(0, 128, 0)));
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 0, 50);
    pen.Replace(CreatePen(PS_SOLID, 0, RGB(0, 0, 128)));
    LineTo(dc, 40, 50);
    SelectObject(dc, GetStockObject(NULL_PEN));
    LineTo(dc, 80, 50);  // invisible
  });
  const std::string svg = MetafileAsSvg(m.Handle(), m.Width, m.Height);
  EXPECT_TRUE(Has(svg, "d=\"M0.5 0.5L0.5 50.5\" fill=\"none\" stroke=\"#008000\"")) << svg;
  EXPECT_TRUE(Has(svg, "d=\"M0.5 50.5L40.5 50.5\" fill=\"none\" stroke=\"#000080\"")) << svg;
  EXPECT_EQ(Count(svg, "<path"), 2) << svg;
}

TEST_F(Svg_, TextStaysTextWhereGdiPutsIt) {
  SIZE extent{};
  const TMetafile m = Record([&](HDC dc) {
    LOGFONTA lf{};
    lf.lfHeight = 40;
    std::strcpy(lf.lfFaceName, "Times New Roman");
    TSelectedObject font(dc, CreateFontIndirectA(&lf));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(1, 2, 3));
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    TextOutA(dc, 100, 10, "a<&>b", 5);
    GetTextExtentPoint32A(dc, "a<&>b", 5, &extent);
  });
  const std::string svg = MetafileAsSvg(m.Handle(), m.Width, m.Height);
  EXPECT_TRUE(Has(svg, ">a&lt;&amp;&gt;b</text>")) << svg;
  EXPECT_TRUE(Has(svg, "font-family=\"'Times New Roman', 'Liberation Serif', serif\"")) << svg;
  EXPECT_TRUE(Has(svg, "fill=\"#010203\"")) << svg;
  // Centred on 100 with GDI's own width: the text starts half of it to the left.
  char start[64];
  std::snprintf(start, sizeof start, "<text x=\"%g\"", 100 - extent.cx / 2.0);
  EXPECT_TRUE(Has(svg, start)) << start << "\n" << svg;
  EXPECT_FALSE(Has(svg, "<rect x=\"" + std::to_string(100 - extent.cx / 2))) << "no background in transparent mode";
}

TEST_F(Svg_, ARecordItDoesNotKnowIsNamed) {
  const TMetafile m = Record([](HDC dc) {
    const POINT points[] = {{0, 0}, {10, 10}, {20, 0}, {30, 10}};
    PolyBezier(dc, points, 4);
  });
  const std::string svg = MetafileAsSvg(m.Handle(), m.Width, m.Height);
  EXPECT_TRUE(Has(svg, "<!-- record " + std::to_string(EMR_POLYBEZIER16) + " not translated -->")) << svg;
}

TEST_F(Svg_, EveryRecordOfADiagramIsTranslated) {
  MakeLocations({RGB(0, 128, 0), RGB(0, 0, 192)});
  TFile* basic = Add("SysUtils", LocationBasic);
  TFile* gone = Add("Gone", LocationNotFound);
  TFile* lib = Add("Lib", 0);
  TFile* main = Add("Main", 1);
  Uses(lib, {basic});
  Uses(main, {lib}, {gone, basic});
  const TMetafile m = Compose();
  const std::string svg = MetafileAsSvg(m.Handle(), m.Width, m.Height);
  EXPECT_FALSE(Has(svg, "not translated")) << svg;
  // Labels, the box and the three caption lines: every text drawn is there.
  const std::vector<std::string> texts = TextsDrawn(m.Handle());
  EXPECT_EQ(Count(svg, "<text "), static_cast<int>(texts.size()));
  for (const std::string& t : texts) EXPECT_TRUE(Has(svg, ">" + t + "</text>")) << t;
  EXPECT_EQ(Count(svg, "<ellipse"), 2);  // one dot per link to a unit with a row
}

TEST_F(Svg_, NoPictureGivesAnEmptyPage) {
  const std::string svg = MetafileAsSvg(nullptr, 0, 0);
  EXPECT_TRUE(Has(svg, "width=\"1\" height=\"1\"")) << svg;
  EXPECT_TRUE(Has(svg, "</svg>\n"));
}
